// A registered window class, unregistered by the owner's destructor.
#pragma once

#include <windows.h>

namespace swsim
{

class CWindowClass
{
public:
    CWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int background);
    CWindowClass(const CWindowClass&) = delete;
    CWindowClass& operator=(const CWindowClass&) = delete;
    ~CWindowClass();

    bool Registered() const { return m_atom != 0; }

private:
    HINSTANCE m_instance;
    const wchar_t* m_name;
    ATOM m_atom;
};

} // namespace swsim
