// A client's link to the running simulator's control object
// ("QelSwSim.Control"). Failures throw std::runtime_error with the
// simulator's description or the HRESULT.
#pragma once

#include <memory>
#include <string>

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

namespace swsim
{

class CControlConnection
{
public:
    explicit CControlConnection(Microsoft::WRL::ComPtr<IDispatch> control);

    // Null when no simulator is running.
    static std::unique_ptr<CControlConnection> TryConnect();

    void Configure(const std::string& options);
    std::string Journal();
    void ClearJournal();
    long OutstandingReferences();
    HWND MainWindow();
    std::string Documents();
    void Quit();

private:
    // Result of a control call with no argument or one text argument.
    std::wstring CallText(DISPID id, const char* what);
    long CallLong(DISPID id, const char* what);
    void Call(DISPID id, const std::wstring* text, VARIANT* result, const char* what);

    Microsoft::WRL::ComPtr<IDispatch> m_control;
};

// GetActiveObject for a program id; the HRESULT, and the object on success
// (a success without object counts as MK_E_UNAVAILABLE).
HRESULT GetActiveDispatch(const wchar_t* progId, Microsoft::WRL::ComPtr<IDispatch>& object);

} // namespace swsim
