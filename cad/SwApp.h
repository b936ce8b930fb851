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
    void CloseDocument(const wchar_t* title);
    CSwDoc OpenPartFile(const char* path, long type, long* error);
    CSwDoc ActivateDocument(const wchar_t* title, long* error);
};

} // namespace qel
