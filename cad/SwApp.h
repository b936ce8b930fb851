// Automation reference to the SolidWorks application object.
#pragma once

#include <string>

#include "cad/AutomationRef.h"
#include "cad/SwDoc.h"

namespace qel
{

class CSwApp : public CAutomationRef
{
public:
    using CAutomationRef::CAutomationRef;

    std::string GetRevisionNumber();
    CSwDoc GetFirstDocument();
    CSwDoc GetFallbackDocument();
    bool LoadSatFile(const char* path);
    CSwDoc GetActiveDocument();
    void CloseDocument(const char* title);
    CSwDoc OpenPartFile(const char* path, long type, long* error);
    CSwDoc ActivateDocument(const char* title, long* error);
};

} // namespace qel
