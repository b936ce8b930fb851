// The options dialog, the directory chooser and the help tooltip, driven on
// the screen as a user drives them: what the settings file receives, which
// messages appear, where the tip opens and how big it is.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cad/InsertionDriver.h"
#include "common/StringTable.h"
#include "common/WinOwners.h"
#include "entry/Exports.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SettingsFileOverride.h"
#include "tests/support/TestFiles.h"
#include "ui/ChooseDir.h"
#include "ui/HelpToolTip.h"
#include "ui/OptionsDlg.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace qel::test
{

// FailingAllocator.cpp: the next allocation on the thread fails (this
// program's allocator also serves the plug-in's code linked into it).
void FailNextAllocationOn(DWORD thread);
bool CancelAllocationFailure(); // true when the failure was still pending

namespace
{

using Driver = CDialogDriver;

bool German()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
}

bool SwissOrAustrian()
{
    const LANGID language = GetUserDefaultUILanguage();
    return language == MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS) ||
           language == MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN);
}

std::string IniValue(const char* key)
{
    char value[600] = {};
    GetPrivateProfileStringA("Options", key, "(missing)", value, sizeof(value),
                             CSettingsFileOverride::Path().c_str());
    return value;
}

HWND OpenTip()
{
    return FindWindowA(CHelpToolTip::kClassName, nullptr);
}

bool CentredOn(HWND window, HWND other)
{
    RECT a = {};
    RECT b = {};
    GetWindowRect(window, &a);
    GetWindowRect(other, &b);
    return std::abs((a.left + a.right) - (b.left + b.right)) <= 2 &&
           std::abs((a.top + a.bottom) - (b.top + b.bottom)) <= 2;
}

class OptionsTest : public testing::Test
{
protected:
    // The catalogue's main window, active on this thread as in the host.
    OptionsTest() { SetActiveWindow(m_host.Get()); }

    // Runs the options step of the host's QelOptions with the user's steps.
    int ShowOptions(std::vector<Driver::Step> steps)
    {
        Driver user(std::move(steps));
        return CInsertionDriver().ShowOptions();
    }

    CScratchFolder m_folder{"options"};
    std::string m_start = m_folder.MakeDir("start") + "\\";
    std::string m_picked = m_folder.MakeDir("picked");
    CSettingsFileOverride m_settings{"[Options]\r\nPartPath=" + m_start + "\r\n"};
    CWindow m_host{CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                   900, 700, nullptr, nullptr, nullptr, nullptr)};
};

TEST_F(OptionsTest, OpenAndCancel_LeavesWhatAnotherWriterStoredMeanwhile)
{
    std::string shown;
    HWND owner = nullptr;
    bool hostEnabled = true;
    bool centred = false;
    bool browseByTab = false;
    EXPECT_EQ(1,
              ShowOptions({{Driver::kOptions, [&](HWND dialog)
                            {
                                shown = Driver::ItemText(dialog, 1044);
                                owner = GetWindow(dialog, GW_OWNER);
                                hostEnabled = IsWindowEnabled(m_host.Get());
                                centred = CentredOn(dialog, m_host.Get());
                                browseByTab = GetNextDlgTabItem(dialog, GetDlgItem(dialog, 1044),
                                                                FALSE) == GetDlgItem(dialog, 1102);
                                WritePrivateProfileStringA("Options", "PartPath", m_picked.c_str(),
                                                           CSettingsFileOverride::Path().c_str());
                                Driver::Press(dialog, IDCANCEL);
                            }}}));

    EXPECT_EQ(m_start, shown);
    EXPECT_TRUE(browseByTab) << "Tab from the path does not reach \"...\"";
    EXPECT_EQ(m_picked, IniValue("PartPath"));
    EXPECT_EQ("(missing)", IniValue("Overwrite"));
    EXPECT_EQ(m_host.Get(), owner);
    EXPECT_FALSE(hostEnabled) << "the host took input while the dialog was open";
    EXPECT_TRUE(centred);
    EXPECT_TRUE(IsWindowEnabled(m_host.Get()));
}

struct BrowseCase
{
    const char* name;
    bool pick;  // OK in the chooser (else Cancel)
    bool apply; // Apply before Cancel
    bool keepsPick;
};

class BrowseTest : public OptionsTest, public testing::WithParamInterface<BrowseCase>
{
};

TEST_P(BrowseTest, Options_BrowseThenCancel_KeepsOnlyWhatWasApplied)
{
    const BrowseCase& row = GetParam();
    HWND options = nullptr;
    HWND chooserOwner = nullptr;
    bool optionsEnabled = true;
    bool chooserCentred = false;
    std::string shown;
    bool applyAfterBrowse = false;
    bool applyAfterApply = true;
    auto afterBrowse = [&](HWND dialog)
    {
        shown = Driver::ItemText(dialog, 1044);
        applyAfterBrowse = Driver::IsEnabled(dialog, 12321);
        if (row.apply)
        {
            Driver::Press(dialog, 12321);
            Driver::WaitFor([&] { return !Driver::IsEnabled(dialog, 12321); });
            applyAfterApply = Driver::IsEnabled(dialog, 12321);
        }
        Driver::Press(dialog, IDCANCEL);
    };
    auto chooser = [&](HWND dialog)
    {
        chooserOwner = GetWindow(dialog, GW_OWNER);
        optionsEnabled = IsWindowEnabled(options);
        chooserCentred = CentredOn(dialog, options);
        Driver::Type(dialog, 1000, m_picked);
        Driver::Press(dialog, row.pick ? IDOK : IDCANCEL);
    };

    auto browse = [&](HWND dialog)
    {
        options = dialog;
        Driver::Press(dialog, 1102);
    };
    EXPECT_EQ(1, ShowOptions({{Driver::kOptions, browse},
                              {Driver::kChooser, chooser},
                              {Driver::kOptions, afterBrowse}}));

    EXPECT_EQ(row.pick ? m_picked + "\\" : m_start, shown);
    EXPECT_EQ(row.pick, applyAfterBrowse);
    EXPECT_EQ(!row.apply, applyAfterApply) << "Apply after Apply";
    EXPECT_EQ(row.keepsPick ? m_picked + "\\" : m_start, IniValue("PartPath"));
    EXPECT_EQ(options, chooserOwner);
    EXPECT_FALSE(optionsEnabled) << "a second chooser could be opened";
    EXPECT_TRUE(chooserCentred);
}

INSTANTIATE_TEST_SUITE_P(Choices, BrowseTest,
                         testing::Values(BrowseCase{"PickThenCancel", true, false, false},
                                         BrowseCase{"PickApplyCancel", true, true, true},
                                         BrowseCase{"ChooserCancelled", false, false, false}),
                         [](const testing::TestParamInfo<BrowseCase>& info)
                         { return info.param.name; });

// Puts another module's resources in place of the plug-in's for one test.
class CResourceModuleOverride
{
public:
    explicit CResourceModuleOverride(const std::string& path) : m_module(LoadLibraryA(path.c_str()))
    {
        SetResourceModule(m_module.Get());
    }
    ~CResourceModuleOverride() { SetResourceModule(nullptr); }

private:
    CModule m_module;
};

TEST_F(OptionsTest, TemplateMissingAControl_SaysCreatingDialogFailedAndWritesNothing)
{
    const std::string before = ReadFileText(CSettingsFileOverride::Path());
    CResourceModuleOverride broken(BinFolder() +
                                   "\\variants\\ui-broken-template\\ui_broken_template.dll");
    std::string caption;
    auto acknowledge = [&](HWND box)
    {
        caption = Driver::Text(box);
        Driver::Press(box, IDOK);
    };
    INT_PTR result = 0;
    {
        Driver user({{Driver::kMessageBox, acknowledge}});
        result = COptionsDlg().DoModal();
    }
    Driver user({{Driver::kMessageBox, acknowledge}});

    EXPECT_EQ(3, result);
    EXPECT_EQ(1, CInsertionDriver().ShowOptions());
    EXPECT_THAT(user.MessageTexts(), ElementsAre("Creating Dialog failed"));
    EXPECT_EQ("ui_broken_template", caption);
    EXPECT_EQ(before, ReadFileText(CSettingsFileOverride::Path()));
    EXPECT_TRUE(IsWindowEnabled(m_host.Get()));
}

// Memory running out inside a window callback (a help request, a chooser
// check): the dialogs close, the export reports it, and the host goes on.
class CallbackFailureTest : public OptionsTest, public testing::WithParamInterface<bool>
{
};

TEST_P(CallbackFailureTest, QelOptions_FailureInACallback_IsTheExportsErrorAndTheHostGoesOn)
{
    const bool inChooser = GetParam();
    const DWORD host = GetCurrentThreadId();
    const std::string before = ReadFileText(CSettingsFileOverride::Path());
    auto failNextAllocation = [host] { FailNextAllocationOn(host); };
    std::vector<Driver::Step> steps;
    if (inChooser)
    {
        steps.push_back({Driver::kOptions, [](HWND d) { Driver::Press(d, 1102); }});
        steps.push_back({Driver::kChooser, [&](HWND d)
                         {
                             Driver::Type(d, 1000, m_picked);
                             failNextAllocation();
                             Driver::Press(d, IDOK);
                         }});
    }
    else
    {
        steps.push_back({Driver::kOptions, [&](HWND d)
                         {
                             failNextAllocation();
                             Driver::Help(d, 1044);
                         }});
    }
    steps.push_back({Driver::kMessageBox, [](HWND box) { Driver::Press(box, IDOK); }});
    Driver user(steps);
    const int result = QelOptions();
    user.Finish();

    EXPECT_FALSE(CancelAllocationFailure()) << "no allocation failed";
    EXPECT_EQ(0, result);
    EXPECT_THAT(user.MessageTexts(), ElementsAre("Not enough memory!"));
    EXPECT_EQ(before, ReadFileText(CSettingsFileOverride::Path()));
    EXPECT_TRUE(IsWindowEnabled(m_host.Get()));
    Driver again({{Driver::kOptions, [](HWND d) { Driver::Press(d, IDCANCEL); }}});
    EXPECT_EQ(1, QelOptions()) << "the next call";
}

INSTANTIATE_TEST_SUITE_P(Callbacks, CallbackFailureTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info)
                         { return info.param ? "ChooserCheck" : "HelpRequest"; });

// Context help: F1 on a control shows its text in a tip at the control.
struct HelpCase
{
    int control;
    bool tip;
    const char* english;
    const char* german;
    const char* regional = nullptr; // Swiss and Austrian tables, when they differ
};

class HelpTest : public OptionsTest, public testing::WithParamInterface<HelpCase>
{
};

TEST_P(HelpTest, Options_HelpOnAControl_ShowsItsTextAtTheControl)
{
    const HelpCase& row = GetParam();
    std::vector<std::string> texts;
    std::vector<bool> atControl;
    std::vector<bool> dialogKeptActive;
    std::vector<bool> closed; // by a click in the dialog, then by a key
    auto askTwice = [&](HWND dialog)
    {
        SetCursorPos(0, 0); // away from the control: F1 anchors the tip at it
        for (const UINT input : {WM_LBUTTONDOWN, WM_KEYDOWN})
        {
            // Sent: the tip window, if any, exists when the request returns.
            Driver::Help(dialog, row.control);
            HWND tip = OpenTip();
            if (tip == nullptr)
                break;
            texts.push_back(Driver::Text(tip));
            RECT tipRect = {};
            RECT controlRect = {};
            Driver::WaitFor(
                [&] { return GetWindowRect(tip, &tipRect) && tipRect.right - tipRect.left > 10; });
            GetWindowRect(GetDlgItem(dialog, row.control), &controlRect);
            atControl.push_back(tipRect.left + GetSystemMetrics(SM_CXBORDER) == controlRect.left &&
                                tipRect.top + GetSystemMetrics(SM_CYBORDER) == controlRect.top);
            dialogKeptActive.push_back(GetForegroundWindow() == dialog);
            PostMessageA(GetDlgItem(dialog, 1044), input, 0, 0); // the path field
            closed.push_back(Driver::WaitFor([] { return OpenTip() == nullptr; }));
        }
        Driver::Press(dialog, IDCANCEL);
    };

    ShowOptions({{Driver::kOptions, askTwice}});

    if (!row.tip)
    {
        EXPECT_THAT(texts, IsEmpty());
        return;
    }
    const std::string text = SwissOrAustrian() && row.regional != nullptr ? row.regional
                             : German()                                   ? row.german
                                                                          : row.english;
    EXPECT_THAT(texts, ElementsAre(text, text)) << "the second request shows the tip again";
    EXPECT_THAT(atControl, ElementsAre(true, true));
    EXPECT_THAT(dialogKeptActive, ElementsAre(true, true));
    EXPECT_THAT(closed, ElementsAre(true, true));
}

INSTANTIATE_TEST_SUITE_P(
    Controls, HelpTest,
    testing::Values(HelpCase{1044, true, "Current part directory",
                             "Das aktuelle Teile-Verzeichnis"},
                    HelpCase{IDOK, true, "Closes Dialog\nChanges will be saved.",
                             "Beendet Dialog\n \xC4nderungen werden gespeichert"},
                    HelpCase{1099, false, "", ""}, HelpCase{0, false, "", ""},
                    // The hidden overwrite box: its text exists only in the regional tables.
                    HelpCase{1000, true, "", "",
                             "Falls markiert, wird vorhandene  Datei \xFC"
                             "berschrieben."}));

// The status-bar font, in which tips are drawn, set to another one for a
// test and put back afterwards.
class CStatusFontOverride
{
public:
    CStatusFontOverride(const char* face, LONG height)
    {
        m_saved.cbSize = kSize;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kSize, &m_saved, 0);
        NONCLIENTMETRICSA metrics = m_saved;
        metrics.lfStatusFont = LOGFONTA{};
        metrics.lfStatusFont.lfHeight = height;
        lstrcpynA(metrics.lfStatusFont.lfFaceName, face, LF_FACESIZE);
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, kSize, &metrics, 0);
    }
    ~CStatusFontOverride() { SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, kSize, &m_saved, 0); }

private:
    static constexpr UINT kSize = 340;
    NONCLIENTMETRICSA m_saved = {};
};

TEST(HelpToolTip, TwoLinesNearTheScreenCorner_SizedToTheTextAndEndingAtTheEdge)
{
    // Courier, the raster font: every character, the line feed too, is a
    // cell of 8 x 13 pixels, so the margin is 13 / 2 = 6 and the frame 1 on
    // each side. The first line is measured with its line feed: 14 cells.
    const CStatusFontOverride courier("Courier", 13);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    CWindow control(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, screenWidth - 40,
                                    screenHeight - 15, 30, 10, nullptr, nullptr, nullptr, nullptr));
    SetCursorPos(0, 0);
    CHelpToolTip tip;

    tip.ShowTip("Closes Dialog\nChanges lost.", control.Get());
    UpdateWindow(tip.GetHwnd());
    RECT rect = {};
    GetWindowRect(tip.GetHwnd(), &rect);

    EXPECT_EQ(14 * 8 + 2 * 6 + 2, rect.right - rect.left);
    EXPECT_EQ(2 * 13 + 2 * 6 + 2, rect.bottom - rect.top);
    EXPECT_EQ(screenWidth, rect.right);
    EXPECT_EQ(screenHeight, rect.bottom);
}

// The directory chooser: what the user types, the messages that answer it
// and what the caller gets back.
struct ChooserCase
{
    const char* name;
    const char* typed;                 // {} stands for the scratch folder
    std::vector<const char*> messages; // answered Yes or OK, {} the scratch folder
    bool acceptAfterwards;             // OK again once the messages are answered
    const char* returned;              // null: cancelled
    char drive = 0;                    // picked in the drive list instead of typing
    const char* stored = "{}\\";       // the directory the chooser is given
    const char* warned[2] = {};        // English and German, answered before the chooser opens
};

// Picks the drive in the chooser's drive list as a click would.
void PickDrive(HWND dialog, char drive)
{
    HWND drives = GetDlgItem(dialog, 1137);
    const int count = static_cast<int>(SendMessageA(drives, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        char item[64] = {};
        SendMessageA(drives, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        if (std::strchr(item, drive) == nullptr && std::strchr(item, drive - 'A' + 'a') == nullptr)
            continue;
        SendMessageA(drives, CB_SETCURSEL, i, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1137, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(drives));
        return;
    }
    ADD_FAILURE() << "no drive " << drive << " in the list";
}

class ChooserTest : public testing::TestWithParam<ChooserCase>
{
protected:
    std::string Expand(const char* text) const
    {
        std::string result = text;
        for (std::size_t at; (at = result.find("{259}")) != std::string::npos;)
            result.replace(at, 5, "{}\\" + std::string(257 - m_folder.Path().size(), 'x'));
        for (std::size_t at; (at = result.find("{}")) != std::string::npos;)
            result.replace(at, 2, m_folder.Path());
        return result;
    }

    CScratchFolder m_folder{"chooser"};
};

TEST_P(ChooserTest, ChooseDirectory_ChecksWhatTheUserTyped)
{
    const ChooserCase& row = GetParam();
    char buffer[kPathBufferSize] = {};
    CopyBounded(buffer, sizeof(buffer), Expand(row.stored).c_str());
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    std::vector<std::string> captions;
    std::string shownAfterDrive;
    std::vector<Driver::Step> steps = {
        {Driver::kChooser, [&](HWND dialog)
         {
             captions = {Driver::Text(dialog), Driver::ItemText(dialog, IDOK),
                         Driver::ItemText(dialog, IDCANCEL), Driver::ItemText(dialog, 1000)};
             if (row.drive != 0)
             {
                 PickDrive(dialog, row.drive);
                 Driver::WaitFor(
                     [&] { return toupper(Driver::ItemText(dialog, 1000)[0]) == row.drive; });
                 shownAfterDrive = Driver::ItemText(dialog, 1000);
             }
             else
             {
                 Driver::Type(dialog, 1000, Expand(row.typed));
             }
             Driver::Press(dialog, row.typed[0] || row.drive ? IDOK : IDCANCEL);
         }}};
    if (row.warned[0] != nullptr)
        steps.insert(steps.begin(),
                     {Driver::kMessageBox, [](HWND box) { Driver::Press(box, IDOK); }});
    for (std::size_t i = 0; i < row.messages.size(); ++i)
        steps.push_back({Driver::kMessageBox, [](HWND box)
                         { Driver::Press(box, GetDlgItem(box, IDYES) ? IDYES : IDOK); }});
    if (!row.messages.empty())
        steps.push_back({Driver::kChooser, [&](HWND dialog)
                         { Driver::Press(dialog, row.acceptAfterwards ? IDOK : IDCANCEL); }});

    Driver user(steps);
    const int result = CChooseDir::ChooseDirectory(buffer, sizeof(buffer), nullptr);
    user.Finish();

    std::vector<std::string> expected;
    if (row.warned[0] != nullptr)
        expected.push_back(row.warned[German() ? 1 : 0]);
    for (const char* message : row.messages)
        expected.push_back(Expand(message));
    EXPECT_EQ(expected, user.MessageTexts());
    EXPECT_EQ(row.returned != nullptr ? 1 : 0, result);
    EXPECT_EQ(Expand(row.returned != nullptr ? row.returned : row.stored), buffer);
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(before, after) << "the current directory moved";
    if (row.drive != 0)
    {
        EXPECT_EQ(shownAfterDrive + (shownAfterDrive.back() == '\\' ? "" : "\\"), buffer)
            << "OK did not return what the field showed";
    }
    const bool german = PRIMARYLANGID(GetSystemDefaultLangID()) == LANG_GERMAN;
    // A gone directory opens on its nearest level; a missing drive where the system puts it.
    std::string shown = row.warned[0] != nullptr ? before
                        : row.stored[0] == 'C'   ? "C:\\" // the drive's current directory
                                                 : m_folder.Path();
    CharUpperA(shown.data());
    EXPECT_THAT(captions,
                ElementsAre(german ? "Teile Verzeichnis ausw\xE4hlen" : "Directory for parts", "OK",
                            german ? "Abbrechen" : "Cancel", shown))
        << "the caption, the buttons and the directory shown at the start";
}

// A directory that would not fit the caller's 260 bytes with its backslash.
const std::string kTooLong = "{}\\" + std::string(250, 'x');
const std::string kTooLongMessage = kTooLong + " is not a valid pathname !";

INSTANTIATE_TEST_SUITE_P(
    Typed, ChooserTest,
    testing::Values(
        ChooserCase{"ExistingWithBackslash", "{}\\", {}, false, "{}\\"},
        ChooserCase{
            "ForwardSlash", "{}/parts", {"{}/parts is not a valid pathname !"}, false, nullptr},
        ChooserCase{"MissingWithParent",
                    "{}\\new",
                    {"Directory {}\\new not found !.\nCreate ?"},
                    true,
                    "{}\\new\\"},
        ChooserCase{
            "MissingParent",
            "{}\\a\\b",
            {"Directory {}\\a\\b not found !.\nCreate ?", "Failed to create directoy {}\\a\\b !"},
            false,
            nullptr},
        ChooserCase{
            "Relative", "rel", {"Directory {}\\rel not found !.\nCreate ?"}, true, "{}\\rel\\"},
        ChooserCase{"TooLong", kTooLong.c_str(), {kTooLongMessage.c_str()}, false, nullptr},
        ChooserCase{
            "Max", "{259}\\", {"Directory {259}\\ not found !.\nCreate ?"}, true, "{259}\\"},
        ChooserCase{"Cancel", "", {}, false, nullptr},
        // Wine's dialog spells the drive in lower case.
        ChooserCase{"OtherDrive", "", {}, false, "z:\\", 'Z'},
        ChooserCase{"StoredGone", "", {}, false, nullptr, 0, "{}\\gone\\deeper\\"},
        ChooserCase{"StoredDriveRelative", "", {}, false, nullptr, 0, "C:nosuch\\parts\\"},
        ChooserCase{"StoredDriveMissing",
                    "",
                    {},
                    false,
                    nullptr,
                    0,
                    "Q:\\parts\\",
                    {"The drive of the part directory \"Q:\\parts\\\" is not ready or does not "
                     "exist.\nChoose another directory.",
                     "Das Laufwerk des Teile-Verzeichnisses \"Q:\\parts\\\" ist nicht bereit oder "
                     "nicht vorhanden.\nBitte w\xE4hlen Sie ein anderes Verzeichnis."}}),
    [](const testing::TestParamInfo<ChooserCase>& info) { return info.param.name; });

} // namespace
} // namespace qel::test
