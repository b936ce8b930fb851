// Identities shared by the simulator and its clients: the program ids and
// class ids it registers, and the dispatch ids of its control object.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace swsim
{

// The application object answers under the program id of the real program.
inline constexpr wchar_t kApplicationProgId[] = L"SldWorks.Application";
// {82E125A9-2EF4-488C-973F-3E1FD7DAAE81}
inline constexpr CLSID kApplicationClsid = {
    0x82e125a9, 0x2ef4, 0x488c, {0x97, 0x3f, 0x3e, 0x1f, 0xd7, 0xda, 0xae, 0x81}};

// The control object lets tests configure the simulator and read its journal.
inline constexpr wchar_t kControlProgId[] = L"QelSwSim.Control";
// {197846F6-3A0F-435C-AFEE-9F3F6D31BEBA}
inline constexpr CLSID kControlClsid = {
    0x197846f6, 0x3a0f, 0x435c, {0xaf, 0xee, 0x9f, 0x3f, 0x6d, 0x31, 0xbe, 0xba}};

// Dispatch ids of the control object (all methods).
enum ControlDispId : DISPID
{
    kControlConfigure = 1,             // (BSTR options) -> none
    kControlJournal = 2,               // () -> BSTR, lines joined with "\n"
    kControlClearJournal = 3,          // () -> none
    kControlOutstandingReferences = 4, // () -> I4
    kControlMainWindow = 5,            // () -> I4 window handle
    kControlDocuments = 6,             // () -> BSTR, one line per open document
    kControlQuit = 7,                  // () -> none
};

// The simulator's main window.
inline constexpr wchar_t kMainWindowClass[] = L"QelSwSimMain";
inline constexpr wchar_t kMainWindowTitle[] = L"SolidWorks 2001 simulator";
// The caption of the question that the option ask-at shows.
inline constexpr wchar_t kQuestionCaption[] = L"SolidWorks simulator question";

} // namespace swsim
