// The options dialog, the directory chooser and the help tooltip, driven on
// the screen as a user drives them: what the settings file receives, which
// messages appear, where the tip opens and how big it is.
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cad/InsertionDriver.h"
#include "common/StringTable.h"
#include "common/WinOwners.h"
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

class OptionsTest : public testing::Test
{
protected:
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
};

TEST_F(OptionsTest, OpenAndCancel_WritesBothKeysWithTheStartingValues)
{
    std::string shown;
    EXPECT_EQ(1, ShowOptions({{Driver::kOptions, [&](HWND dialog)
                               {
                                   shown = Driver::ItemText(dialog, 1044);
                                   Driver::Press(dialog, IDCANCEL);
                               }}}));

    EXPECT_EQ(m_start, shown);
    EXPECT_EQ(m_start, IniValue("PartPath"));
    EXPECT_EQ("0", IniValue("Overwrite"));
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
        Driver::Type(dialog, 1000, m_picked);
        Driver::Press(dialog, row.pick ? IDOK : IDCANCEL);
    };

    EXPECT_EQ(1, ShowOptions({{Driver::kOptions, [](HWND d) { Driver::Press(d, 1102); }},
                              {Driver::kChooser, chooser},
                              {Driver::kOptions, afterBrowse}}));

    EXPECT_EQ(row.pick ? m_picked + "\\" : m_start, shown);
    EXPECT_EQ(row.pick, applyAfterBrowse);
    EXPECT_EQ(!row.apply, applyAfterApply) << "Apply after Apply";
    EXPECT_EQ(row.keepsPick ? m_picked + "\\" : m_start, IniValue("PartPath"));
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
}

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
    bool closedOnFocusLoss = false;
    auto askTwice = [&](HWND dialog)
    {
        SetCursorPos(0, 0); // away from the control: F1 anchors the tip at it
        for (int request = 0; request < 2; ++request)
        {
            Driver::Help(dialog, row.control);
            HWND tip = nullptr;
            Driver::WaitFor([&] { return (tip = OpenTip()) != nullptr; }, row.tip ? 3000 : 300);
            if (tip == nullptr)
                break;
            Driver::WaitFor([&] { return IsWindowVisible(tip) != FALSE; });
            texts.push_back(Driver::Text(tip));
            RECT tipRect = {};
            RECT controlRect = {};
            Driver::WaitFor(
                [&] { return GetWindowRect(tip, &tipRect) && tipRect.right - tipRect.left > 10; });
            GetWindowRect(GetDlgItem(dialog, row.control), &controlRect);
            atControl.push_back(tipRect.left + GetSystemMetrics(SM_CXBORDER) == controlRect.left &&
                                tipRect.top + GetSystemMetrics(SM_CYBORDER) == controlRect.top);
            SetForegroundWindow(dialog); // the tip loses the focus
            closedOnFocusLoss = Driver::WaitFor([] { return OpenTip() == nullptr; });
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
    EXPECT_TRUE(closedOnFocusLoss);
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

TEST(HelpToolTip, TwoLinesNearTheScreenCorner_SizedToTheTextAndEndingAtTheEdge)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    CWindow control(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, screenWidth - 40,
                                    screenHeight - 15, 30, 10, nullptr, nullptr, nullptr, nullptr));
    SetCursorPos(0, 0);
    const std::string first = "Closes Dialog\n";
    const std::string second = "Changes will be saved.";
    CHelpToolTip tip;

    tip.ShowTip((first + second).c_str(), control.Get());
    UpdateWindow(tip.GetHwnd());
    RECT rect = {};
    GetWindowRect(tip.GetHwnd(), &rect);

    // The rule: two character heights by the wider line (the first measured
    // with its line feed), a margin of half a character height on each
    // side, and the frame; in the status-bar font.
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = 340;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0);
    CGdiObject font(CreateFontIndirectA(&metrics.lfStatusFont));
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Get());
    TEXTMETRICA textMetrics = {};
    GetTextMetricsA(dc, &textMetrics);
    SIZE a = {};
    SIZE b = {};
    GetTextExtentPoint32A(dc, first.c_str(), static_cast<int>(first.size()), &a);
    GetTextExtentPoint32A(dc, second.c_str(), static_cast<int>(second.size()), &b);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int margin = textMetrics.tmHeight / 2;
    const int frame = 2 * GetSystemMetrics(SM_CXBORDER);
    EXPECT_EQ(std::max(a.cx, b.cx) + 2 * margin + frame, rect.right - rect.left);
    EXPECT_EQ(2 * textMetrics.tmHeight + 2 * margin + frame, rect.bottom - rect.top);
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
};

class ChooserTest : public testing::TestWithParam<ChooserCase>
{
protected:
    std::string Expand(const char* text) const
    {
        std::string result = text;
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
    CopyBounded(buffer, sizeof(buffer), (m_folder.Path() + "\\").c_str());
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    std::vector<std::string> captions;
    std::vector<Driver::Step> steps = {
        {Driver::kChooser, [&](HWND dialog)
         {
             captions = {Driver::Text(dialog), Driver::ItemText(dialog, IDOK),
                         Driver::ItemText(dialog, IDCANCEL), Driver::ItemText(dialog, 1000)};
             Driver::Type(dialog, 1000, Expand(row.typed));
             Driver::Press(dialog, row.typed[0] ? IDOK : IDCANCEL);
         }}};
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
    for (const char* message : row.messages)
        expected.push_back(Expand(message));
    EXPECT_EQ(expected, user.MessageTexts());
    EXPECT_EQ(row.returned != nullptr ? 1 : 0, result);
    EXPECT_EQ(row.returned != nullptr ? Expand(row.returned) : m_folder.Path() + "\\", buffer);
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(before, after) << "the current directory moved";
    const bool german = PRIMARYLANGID(GetSystemDefaultLangID()) == LANG_GERMAN;
    std::string shown = m_folder.Path();
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
        ChooserCase{"Cancel", "", {}, false, nullptr}),
    [](const testing::TestParamInfo<ChooserCase>& info) { return info.param.name; });

} // namespace
} // namespace qel::test
