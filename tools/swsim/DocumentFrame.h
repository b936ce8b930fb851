// The windows of one open document: an MDI child frame in the document area,
// titled with the document's title, and the view window filling it.
#pragma once

#include <string>

#include <windows.h>

namespace swsim
{

class CDocumentFrame
{
public:
    static constexpr wchar_t kFrameClass[] = L"QelSwSimFrame";
    static constexpr wchar_t kViewClass[] = L"QelSwSimView";

    CDocumentFrame(HWND documentArea, HINSTANCE instance, const std::wstring& title);
    CDocumentFrame(const CDocumentFrame&) = delete;
    CDocumentFrame& operator=(const CDocumentFrame&) = delete;
    ~CDocumentFrame();

    // Attributes
    HWND Frame() const { return m_frame; }
    HWND View() const { return m_frame ? GetWindow(m_frame, GW_CHILD) : nullptr; }

    // Operations
    void SetTitle(const std::wstring& title);
    void BringToTop();

    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND m_documentArea;
    HWND m_frame;
};

} // namespace swsim
