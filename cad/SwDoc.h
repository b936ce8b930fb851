// Automation reference to a SolidWorks document (part or assembly).
#pragma once

#include <string>

#include "cad/AutomationRef.h"
#include "cad/SwView.h"

namespace qel
{

class CSwDoc : public CAutomationRef
{
public:
    using CAutomationRef::CAutomationRef;

    enum DocumentType : long
    {
        kPart = 1,
        kAssembly = 2,
    };

    long GetType();
    CSwDoc GetNextDocument();
    // Results neither read nor converted, whatever type the server answers with.
    void AddTextProperty(const char* name, const char* value);
    // False only when the server answers a plain false.
    bool SaveAs(const char* path);
    // Unicode, as SolidWorks gives it: titles go back to it unchanged.
    std::wstring GetTitle();
    CSwView GetView();
    void SetDocumentFlag(bool value);
    void RefreshDocument();
    void FinishOpening();
};

} // namespace qel
