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
    // The results of these two say nothing the insertion relies on: they are
    // neither read nor converted, whatever type the server answers with.
    void LoadSatFile(const char* path);
    CSwDoc GetActiveDocument();
    void CloseDocument(const wchar_t* title);
    CSwDoc OpenPartFile(const char* path, long type, long* error);
    void ActivateDocument(const wchar_t* title, long* error);
};

} // namespace qel
