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
    // False only when SolidWorks answers an explicit false: it could not read
    // the file and opened nothing. Any other answer (nothing, a text, another
    // version's number) is not converted and counts as done.
    bool LoadSatFile(const char* path);
    CSwDoc GetActiveDocument();
    void CloseDocument(const wchar_t* title);
    CSwDoc OpenPartFile(const char* path, long type, long* error);
    void ActivateDocument(const wchar_t* title, long* error);
};

} // namespace qel
