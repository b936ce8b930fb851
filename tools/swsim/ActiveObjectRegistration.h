// An object published in the running object table under a class id, so that
// GetActiveObject finds it. The destructor revokes the entry and ends the
// connections that clients still hold.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace swsim
{

class CActiveObjectRegistration
{
public:
    // flags: ACTIVEOBJECT_STRONG or ACTIVEOBJECT_WEAK.
    CActiveObjectRegistration(IUnknown* object, const CLSID& clsid, DWORD flags);
    CActiveObjectRegistration(const CActiveObjectRegistration&) = delete;
    CActiveObjectRegistration& operator=(const CActiveObjectRegistration&) = delete;
    ~CActiveObjectRegistration();

    HRESULT Result() const { return m_result; }

private:
    IUnknown* m_object; // borrowed: the owner outlives the registration
    DWORD m_cookie = 0;
    HRESULT m_result;
};

} // namespace swsim
