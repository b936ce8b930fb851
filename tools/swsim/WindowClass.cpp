#include "tools/swsim/WindowClass.h"

namespace swsim
{

CWindowClass::CWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                           int background)
    : m_instance(instance), m_name(name)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    windowClass.lpszClassName = name;
    m_atom = RegisterClassExW(&windowClass);
}

CWindowClass::~CWindowClass()
{
    if (m_atom)
    {
        UnregisterClassW(m_name, m_instance);
    }
}

} // namespace swsim
