// Automation reference to the view of a SolidWorks document.
#pragma once

#include "cad/AutomationRef.h"

namespace qel
{

class CSwView : public CAutomationRef
{
public:
    using CAutomationRef::CAutomationRef;

    HWND GetWindowHandle();
    void Repaint();
};

} // namespace qel
