// QelCreate_2 against the SolidWorks simulator: the revision check, the whole
// insertion (the simulator's journal), the part window's place, every call failing in turn, and the
// references given back.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/DialogDriver.h"
#include "tests/support/ErrorBoxWatcher.h"
#include "ExpectedTexts.h"
#include "HostInstallation.h"
#include "PluginModule.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SettingsFileOverride.h"
#include "tests/support/TestFiles.h"
#include "tests/settings/TempVariables.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/partblock/TextEscapes.h"
#include "tools/swsim/SimIds.h"
#include "tools/swsim/SimulatorClient.h"
#include "common/WinOwners.h"
#include "resources/resource.h"

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::EndsWith;
using testing::IsEmpty;

namespace qel::test
{
namespace
{

const std::string kRevisionCall = "app 0xC method () -> \"9.0\"";
const std::string kBoltFile = "M8x20_DIN 933_8.8.SLDPRT";

// QelCreate_2 without messages through plugin; the error text ("" when none).
std::string Create2(CPluginModule& plugin, int& result)
{
    char buffer[1024] = {};
    result = plugin.QelCreate_2(BoltBlock().data(), "ShowMessages=0", buffer, sizeof(buffer));
    return buffer;
}

class SolidWorksTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_simulator = new swsim::CSimulatorClient(); }
    static void TearDownTestSuite()
    {
        delete s_simulator;
        s_simulator = nullptr;
    }
    void SetUp() override { s_simulator->Configure("reset=1"); }

    // The part directory of the test, as the settings give it.
    std::string PartDir() const { return m_folder.Path() + "\\"; }
    // Files of the part directory, by name.
    std::vector<std::string> PartDirFiles() const { return FileNamesIn(m_folder.Path()); }

    // Calls QelCreate_2 without messages; returns the error text ("" when none).
    std::string Create(const void* part, const char* parameters = "ShowMessages=0")
    {
        char buffer[1024];
        std::memset(buffer, 0, sizeof(buffer));
        m_result = m_plugin.QelCreate_2(part, parameters, buffer, sizeof(buffer));
        return buffer;
    }

    static swsim::CSimulatorClient* s_simulator;
    CScratchFolder m_folder{"insertion"};
    CSettingsFileOverride m_settings{"[Options]\r\nPartPath=" + m_folder.Path() + "\r\n"};
    CPluginModule m_plugin;
    int m_result = -1;
};

swsim::CSimulatorClient* SolidWorksTest::s_simulator = nullptr;

struct RevisionCase
{
    const char* revision;
    bool accepted;
};

class RevisionTest : public SolidWorksTest, public testing::WithParamInterface<RevisionCase>
{
};

TEST_P(RevisionTest, Create2_AcceptsOnlyRevisionsBeginningWith9Dot)
{
    s_simulator->Configure(std::string("revision=\"") + GetParam().revision + "\"");
    std::vector<uint8_t> part = BoltBlock();

    std::string error = Create(part.data());

    EXPECT_EQ(GetParam().accepted ? 1 : 0, m_result);
    EXPECT_EQ(GetParam().accepted ? "" : StartSolidWorksText(), error);
    EXPECT_EQ(std::string("app 0xC method () -> \"") + GetParam().revision + "\"",
              s_simulator->JournalLines().at(0));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

INSTANTIATE_TEST_SUITE_P(Revisions, RevisionTest,
                         testing::Values(RevisionCase{"9.0", true}, RevisionCase{"9.2.1", true},
                                         RevisionCase{"10.0", false}, RevisionCase{"90.0", false},
                                         RevisionCase{"9", false}, RevisionCase{"", false},
                                         RevisionCase{" 9.0", false}));

TEST_F(SolidWorksTest, Create2_RevisionQueryFailing_ReportsTheStartMessage)
{
    s_simulator->Configure("fail-dispid=app:0xC:\"Server is busy\"");
    std::vector<uint8_t> part = BoltBlock();

    EXPECT_EQ(StartSolidWorksText(), Create(part.data()));

    EXPECT_EQ(0, m_result);
    EXPECT_THAT(s_simulator->JournalLines(),
                ElementsAre("app 0xC method () -> FAIL \"Server is busy\""));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

TEST_F(SolidWorksTest, Create2_RevisionFailureShownWhenMessagesAreAsked)
{
    s_simulator->Configure("revision=8.0");
    std::vector<uint8_t> part = BoltBlock();
    CErrorBoxWatcher boxes;

    EXPECT_EQ(StartSolidWorksText(), Create(part.data(), "ShowMessages=1"));

    EXPECT_THAT(boxes.Texts(), ElementsAre(StartSolidWorksText()));
}

std::string HandleText(HWND window)
{
    return std::to_string(reinterpret_cast<UINT_PTR>(window));
}

HWND ViewOf(const swsim::SimDocumentInfo& document)
{
    return GetWindow(document.frame, GW_CHILD);
}

std::vector<std::string> operator+(std::vector<std::string> first,
                                   const std::vector<std::string>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Each call as the insertion's steps make it, once: a call read twice fails the row.
TEST_F(SolidWorksTest, Create2_NewThenExistingPart_MakeTheCallsOfTheWholeInsertion)
{
    s_simulator->Configure("docs=part,assembly");
    const std::string assemblyView = HandleText(ViewOf(s_simulator->Documents().at(1)));
    s_simulator->ClearJournal();
    std::vector<uint8_t> part = BoltBlock();

    EXPECT_EQ("", Create(part.data()));

    const std::string file = "\"" + PartDir() + kBoltFile + "\"";
    const std::string title = "\"" + kBoltFile + "\"";
    const std::string partView = HandleText(ViewOf(s_simulator->Documents().back()));
    EXPECT_EQ(1, m_result);
    const std::vector<std::string> findMainWindow = {
        kRevisionCall,
        // FindMainWindow: the components come first, then the first assembly's view
        "app 0x55 method () -> doc#1",
        "doc#1 0x10049 method () -> 1",
        "doc#1 0x101C1 method () -> doc#2",
        "doc#2 0x10049 method () -> 2",
        "doc#2 0x10002 get () -> view#2",
        "view#2 0x2 method () -> " + assemblyView,
    };
    const std::vector<std::string> insertIntoAssembly = {
        "app 0x63 method (" + file + ", 1, false, false, false, &0) -> doc#4",
        "doc#4 0x100E1 put (true) -> none",
        "doc#4 0x10002 get () -> view#4",
        "view#4 0x2 method () -> " + partView,
        "doc#4 0x10002 get () -> view#4",
        "view#4 0x11 method () -> none",
        "doc#4 0x10065 method () -> none",
        "doc#4 0x10047 method () -> " + title,
        "app 0x5B method (" + title + ", false, &0) -> doc#4",
        "doc#4 0x10068 method () -> none",
    };
    EXPECT_THAT(
        s_simulator->JournalLines(),
        ElementsAreArray(findMainWindow +
                         std::vector<std::string>{
                             // CreatePartDocument; added: the active document before
                             // the import, so that a refused import is never taken
                             // for the part
                             "app 0x1 get () -> doc#2",
                             "app 0x31 method (\"" + PartDir() + "TempSW.sat\", \"\") -> true",
                             "app 0x1 get () -> doc#3",
                             "doc#3 0x10049 method () -> 1",
                             "doc#3 0x1018F method (\"Designation\", \"Text\", \"M8x20\") -> true",
                             "doc#3 0x1018F method (\"Standard\", \"Text\", \"DIN 933\") -> true",
                             "doc#3 0x1018F method (\"Strength class\", \"Text\", \"8.8\") -> true",
                             "doc#3 0x10025 method (" + file + ") -> true",
                             "doc#3 0x10025 method (" + file + ") -> true",
                             "doc#3 0x10047 method () -> " + title,
                             "app 0x21 method (" + title + ") -> none",
                         } +
                         insertIntoAssembly));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
    EXPECT_THAT(PartDirFiles(),
                testing::UnorderedElementsAre("TempSW.sat", kBoltFile, "QelSW99_3D.lock"));

    s_simulator->ClearJournal(); // the part file exists now: opened as it is
    EXPECT_EQ("", Create(part.data()));
    EXPECT_EQ(1, m_result);
    EXPECT_THAT(s_simulator->JournalLines(), ElementsAreArray(findMainWindow + insertIntoAssembly));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

TEST_F(SolidWorksTest, Create2_SatFileNotWritten_Reports121AndImportsNothing)
{
    CHostInstallation host({"QelMain.dll", "variants/qelsatwr-saveversion-zero/QelSatWr.dll"});
    WriteFileBytes(host.PathOf("bolt.qpb"), BoltBlock());
    WriteFileText(PartDir() + "TempSW.sat", "a stale SAT file of an earlier part");
    s_simulator->Configure("docs=assembly");
    s_simulator->ClearJournal();

    HostRun run = host.Run({"QelCreate_2", host.PathOf("bolt.qpb"), "", "512"});

    EXPECT_EQ("0", OutputField(run.output, "result")) << run.output;
    const std::string sat = PartDir() + "TempSW.sat";
    EXPECT_EQ(EscapeText(CannotCreatePartText(PartDir() + "M8x20_DIN 933_8.8",
                                              SatFileNotWrittenText(sat))),
              OutputField(run.output, "error"));
    EXPECT_THAT(s_simulator->JournalLines(),
                testing::Not(testing::Contains(testing::HasSubstr("app 0x31"))));
    EXPECT_THAT(PartDirFiles(), ElementsAre("QelSW99_3D.lock", "TempSW.sat"));
}

// SolidWorks could not read the SAT file: it answers false and opens
// nothing, so the active document is the user's own assembly (or the one
// NewAssembly made). Nothing may be written onto it, saved or closed.
struct RefusedImportCase
{
    const char* name;
    const char* options;
};

class RefusedImportTest : public SolidWorksTest,
                          public testing::WithParamInterface<RefusedImportCase>
{
};

TEST_P(RefusedImportTest, Create2_ImportRefused_Reports121AndLeavesTheAssembliesAlone)
{
    s_simulator->Configure(GetParam().options);
    std::vector<uint8_t> part = BoltBlock();
    auto looks = [] // the documents as the user sees them: title, type, file, active
    {
        std::vector<std::tuple<std::string, long, std::string, bool>> all;
        for (const swsim::SimDocumentInfo& d : s_simulator->Documents())
            all.emplace_back(d.title, d.type, d.path, d.active);
        return all;
    };
    auto before = looks();
    if (before.empty()) // NewAssembly makes the one the insertion knows
        before.emplace_back("Assem1", 2L, "", true);

    EXPECT_EQ(CannotCreatePartText(PartDir() + "M8x20_DIN 933_8.8",
                                   SatFileNotImportedText(PartDir() + "TempSW.sat")),
              Create(part.data()));

    EXPECT_EQ(0, m_result);
    for (const char* call : {"0x1018F", "0x10025", "app 0x21", "app 0x63"})
        EXPECT_THAT(s_simulator->JournalLines(),
                    testing::Not(testing::Contains(testing::HasSubstr(call))));
    EXPECT_EQ(before, looks());
    EXPECT_THAT(PartDirFiles(), ElementsAre("QelSW99_3D.lock", "TempSW.sat"));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

INSTANTIATE_TEST_SUITE_P(
    Imports, RefusedImportTest,
    testing::Values(RefusedImportCase{"AnsweredFalse", "docs=assembly import=refuse"},
                    // An answer of nothing: the active document is the one already known.
                    RefusedImportCase{"ActiveIsTheUsersAssembly",
                                      "docs=assembly import=refuse answer=app:49:empty"},
                    RefusedImportCase{"ActiveIsTheNewAssembly", "import=refuse answer=app:49:null"},
                    // The active one is not the first assembly, which gave the main window.
                    RefusedImportCase{"ActiveIsAnotherAssembly",
                                      "docs=assembly,assembly import=refuse answer=app:49:empty"}),
    [](const testing::TestParamInfo<RefusedImportCase>& info) { return info.param.name; });

// Group 1 of pattern in each line that has it, in order (the dispatch ids, say).
std::vector<std::string> Groups(const std::vector<std::string>& lines, const char* pattern)
{
    std::vector<std::string> groups;
    std::smatch match;
    for (const std::string& line : lines)
        if (std::regex_search(line, match, std::regex(pattern)))
            groups.push_back(match[1]);
    return groups;
}

// Another insertion's hold on the part directory: a handle of its own, as
// another host's. The insertion waits, serves the messages sent to its
// thread, and shows a box it can cancel when boxes may be shown.
CHandle HoldLock(const std::string& directory)
{
    CHandle file(CreateFileA((directory + "QelSW99_3D.lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, 0, nullptr));
    OVERLAPPED at = {};
    EXPECT_TRUE(
        LockFileEx(file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at));
    return file;
}

class LockWaitTest : public SolidWorksTest
{
protected:
    void SetUp() override
    {
        SolidWorksTest::SetUp();
        s_simulator->Configure("docs=assembly");
        SetActiveWindow(m_host.Get());
    }
    std::string Stem() const { return PartDir() + "M8x20_DIN 933_8.8"; }
    // The host's own reaction to message (a catalogue command that starts an insertion).
    void OnHostMessage(UINT message, std::function<void()> handler)
    {
        s_message = message;
        s_handler = std::move(handler);
        SetWindowLongPtrA(m_host.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostProc));
    }
    static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM w, LPARAM l)
    {
        return message == s_message ? (s_handler(), 0) : DefWindowProcA(window, message, w, l);
    }
    static inline UINT s_message = 0;
    static inline std::function<void()> s_handler;
    // A paint the test asks for from another thread (RepaintHost) runs handler
    // once; the window's own paints (X exposes come any time) are only validated.
    void OnHostRepaint(std::function<void()> handler)
    {
        OnHostMessage(WM_PAINT,
                      [this, handler]
                      {
                          ValidateRect(m_host.Get(), nullptr);
                          if (m_repaintAsked.exchange(false))
                              handler();
                      });
    }
    void RepaintHost()
    {
        m_repaintAsked = true;
        InvalidateRect(m_host.Get(), nullptr, FALSE);
    }
    std::atomic<bool> m_repaintAsked{false};
    std::string BusyText(unsigned seconds) const
    {
        return CannotCreatePartText(Stem(), DirectoryBusyText(PartDir(), seconds));
    }
    // The figure (group 1) of the trace's last line that matches pattern; -1: none.
    long Traced(const char* pattern) const
    {
        const auto all = Groups(ReadFileLines(m_temp.PathOf("QelSW99_3D.log")), pattern);
        return all.empty() ? -1 : std::stol(all.back());
    }
    // A figure of the trace for a bound of boundMs: never before it, nor long after.
    static testing::Matcher<long> AtTheBound(long boundMs)
    {
        return testing::AllOf(testing::Ge(boundMs), testing::Lt(boundMs + 5000));
    }

    CScratchFolder m_temp{"trace"}; // the trace's folder
    const CTempVariables m_tempVariables{m_temp.Path()};
    CSettingsFileOverride m_shortBound{"[Options]\r\nPartPath=" + PartDir() +
                                       "\r\nLockWaitSeconds=2\r\nTrace=1\r\n"};
    CWindow m_host{CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                   600, 400, nullptr, nullptr, nullptr, nullptr)};
    CHandle m_other = HoldLock(PartDir());
    std::vector<uint8_t> m_part = BoltBlock();
};

TEST_F(LockWaitTest, Create2_Silent_AnswersSentMessagesThenGivesUpAfterTheBound)
{
    // Another thread sends to the host's window once the call waits for the
    // lock (past its last SolidWorks call, the main window's view): answered
    // before that wait ends (the trace's line of it).
    std::atomic<bool> answered{false};
    std::thread sender(
        [&]
        {
            CDialogDriver::WaitFor([&] { return Traced(" call 0x2 .*\\((\\d+) ms") >= 0; }, 10000);
            answered =
                SendMessageTimeoutA(m_host.Get(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr) &&
                Traced("lock of .*: waited (\\d+) ms") < 0;
        });
    const std::string text = Create(m_part.data());
    sender.join();
    const long ms = Traced("lock of .*: waited (\\d+) ms, timed out"); // the text says so
    EXPECT_THAT(ms, AtTheBound(2000));
    EXPECT_THAT(text, testing::AnyOf(BusyText(ms / 1000), BusyText(ms / 1000 + 1)));
    EXPECT_TRUE(answered.load()) << "the host's thread answered no sent message while waiting";
    EXPECT_THAT(PartDirFiles(), ElementsAre("QelSW99_3D.lock"));
}

// The wait box, owned by the host's window: Enter (the dialog manager's OK)
// presses the focused Cancel and ends the call, never the wait as if the lock
// were ours; Retry at the bound inserts once the other insertion is done.
TEST_F(LockWaitTest, Create_WaitBox_EnterCancelsTheCallRetryInsertsOnceFree)
{
    std::string shown;
    HWND owner = nullptr;
    BOOL hostEnabled = TRUE;
    auto look = [&](HWND box)
    {
        shown = CDialogDriver::ItemText(box, IDC_LOCK_WAIT_TEXT);
        owner = GetWindow(box, GW_OWNER);
        hostEnabled = IsWindowEnabled(m_host.Get());
    };
    CDialogDriver cancel(
        {{IDC_LOCK_WAIT_TEXT,
          [&](HWND box)
          {
              look(box);
              CDialogDriver::Press(box, IDOK);
          }},
         {CDialogDriver::kMessageBox, [](HWND b) { CDialogDriver::Press(b, IDOK); }}});
    EXPECT_EQ(0, m_plugin.QelCreate(m_part.data()));
    cancel.Finish();
    EXPECT_THAT(cancel.MessageTexts(),
                ElementsAre(CannotCreatePartText(Stem(), WaitCancelledText(PartDir()))));
    EXPECT_THAT(PartDirFiles(), ElementsAre("QelSW99_3D.lock"));
    EXPECT_EQ(WaitingText(PartDir()), shown);
    EXPECT_EQ(m_host.Get(), owner);
    EXPECT_FALSE(hostEnabled) << "the host took input while waiting";

    CDialogDriver retry({{IDC_LOCK_WAIT_TEXT, look},
                         {CDialogDriver::kMessageBox, [&](HWND box)
                          {
                              m_other.Reset();
                              CDialogDriver::Press(box, IDRETRY);
                          }}});
    EXPECT_EQ(1, m_plugin.QelCreate(m_part.data()));
    retry.Finish();
    const long ms = Traced("lock of .*: waited (\\d+) ms, timed out"); // the text says so
    EXPECT_THAT(ms, AtTheBound(2000));
    EXPECT_THAT(retry.MessageTexts(),
                ElementsAre(testing::AnyOf(DirectoryBusyText(PartDir(), ms / 1000),
                                           DirectoryBusyText(PartDir(), ms / 1000 + 1))));
    EXPECT_THAT(PartDirFiles(),
                testing::UnorderedElementsAre("TempSW.sat", kBoltFile, "QelSW99_3D.lock"));
}

// Another program is active, and a message that the wait box's loop
// dispatches starts a second insertion: the box is still the host's, and
// the second call fails at once; the first inserts once the lock is free.
TEST_F(LockWaitTest, Create_ReenteredDuringTheWaitBox_FailsAtOnceInAnInactiveHost)
{
    CSettingsFileOverride longBound{"[Options]\r\nPartPath=" + PartDir() +
                                    "\r\nLockWaitSeconds=20\r\n"};
    std::string reentered;
    std::atomic<bool> done{false};
    OnHostMessage(WM_APP,
                  [&]
                  {
                      reentered = Create(m_part.data());
                      done = true;
                  });
    SetActiveWindow(nullptr);
    ASSERT_EQ(nullptr, GetActiveWindow());
    HWND owner = nullptr;
    BOOL hostEnabled = TRUE;
    CDialogDriver box({{IDC_LOCK_WAIT_TEXT, [&](HWND shown)
                        {
                            owner = GetWindow(shown, GW_OWNER);
                            hostEnabled = IsWindowEnabled(m_host.Get());
                            PostMessageA(m_host.Get(), WM_APP, 0, 0);
                            CDialogDriver::WaitFor([&] { return done.load(); }, 10000);
                            m_other.Reset();
                        }}});
    EXPECT_EQ(1, m_plugin.QelCreate(m_part.data()));
    box.Finish();
    EXPECT_EQ(CannotCreatePartText(Stem(), ReenteredText(PartDir())), reentered);
    EXPECT_EQ(m_host.Get(), owner);
    EXPECT_FALSE(hostEnabled) << "the host took input while waiting";
    EXPECT_THAT(PartDirFiles(),
                testing::UnorderedElementsAre("TempSW.sat", kBoltFile, "QelSW99_3D.lock"));
}

// A lock file that another user made where this one may only read it is
// locked through a handle for reading. Run by foreign-lock-file.sh, which
// makes the file and names its folder.
TEST_F(LockWaitTest, Create2_LockFileThisUserMayOnlyRead_IsLockedAndTheNewPartMade)
{
    const char* folder = std::getenv("QEL_FOREIGN_LOCK_DIR");
    if (folder == nullptr)
        GTEST_SKIP() << "needs a lock file of another owner: foreign-lock-file.sh";
    const std::string parts = std::string(folder) + "\\";
    CSettingsFileOverride settings{"[Options]\r\nPartPath=" + parts + "\r\n"};
    ASSERT_FALSE(CHandle(CreateFileA((parts + "QelSW99_3D.lock").c_str(), GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr))
                     .IsValid());
    EXPECT_EQ("", Create(m_part.data()));
    EXPECT_EQ(1, m_result);
    EXPECT_TRUE(FileExists(parts + kBoltFile));
}

// The host calls the plug-in again from a message that the wait for
// SolidWorks' answer lets through (a paint, under Wine) while this thread's
// insertion holds the lock.
TEST_F(LockWaitTest, Create2_ReenteredWhileHoldingTheLock_FailsAtOnce)
{
    m_other.Reset();
    std::string reentered;
    std::atomic<bool> done{false};
    OnHostRepaint(
        [&]
        {
            // SolidWorks answers nothing else while it holds a call.
            s_simulator->ReleaseHang();
            reentered = Create(m_part.data());
            done = true;
        });
    s_simulator->ClearJournal();
    // The document read just before the import: the first call after the SAT
    // file is written, so the paint comes while it is held.
    s_simulator->Configure("hang-at=app:0x1");
    std::thread painter(
        [&]
        {
            CDialogDriver::WaitFor([&] { return FileExists(PartDir() + "TempSW.sat"); }, 10000);
            // A paint pending before the held call's wait began does not wake
            // it: a posted message does, and the wait then takes the paint.
            RepaintHost();
            for (int nudges = 0; nudges < 50 && !done; ++nudges)
                PostMessageA(m_host.Get(), WM_NULL, 0, 0),
                    CDialogDriver::WaitFor([&] { return done.load(); }, 200);
            // Never re-entered: the held call is let go all the same.
            // (through swsimctl: the simulator's client belongs to the test's thread).
            if (!done)
                std::system(("\"" + BinFolder() + "\\swsimctl.exe\" configure release=1").c_str());
        });
    EXPECT_EQ("", Create(m_part.data()));
    painter.join();

    EXPECT_EQ(1, m_result);
    EXPECT_EQ(CannotCreatePartText(Stem(), ReenteredText(PartDir())), reentered);
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

// SolidWorks asks a question of its own in the import; one nobody answers (a
// test gone wrong) is answered after 240 s. A filter the host registered stays registered,
// and is asked what the wait does not decide (it would retry rejections itself).
struct HostFilter : IMessageFilter
{
    STDMETHOD(QueryInterface)(REFIID, void** out) { return *out = this, S_OK; }
    STDMETHOD_(ULONG, AddRef)() { return 2; }
    STDMETHOD_(ULONG, Release)() { return 1; }
    STDMETHOD_(DWORD, HandleInComingCall)(DWORD, HTASK, DWORD, LPINTERFACEINFO) { return 0; }
    STDMETHOD_(DWORD, RetryRejectedCall)(HTASK, DWORD, DWORD) { return ++retried, 100; }
    STDMETHOD_(DWORD, MessagePending)(HTASK, DWORD, DWORD) { return ++pending, 2; }
    std::atomic<int> pending{0}, retried{0};
};

class QuestionTest : public LockWaitTest
{
protected:
    void SetUp() override
    {
        LockWaitTest::SetUp();
        m_other.Reset();
        s_simulator->Configure("ask-at=app:0x31"); // the import
        CoRegisterMessageFilter(&m_hostFilter, nullptr);
    }
    void TearDown() override
    {
        IMessageFilter* registered = nullptr;
        CoRegisterMessageFilter(nullptr, &registered);
        EXPECT_EQ(&m_hostFilter, registered) << "the host's filter was not registered again";
        m_done = true;
        m_watchdog.join();
    }
    static HWND Question() { return FindWindowW(L"#32770", swsim::kQuestionCaption); }
    static constexpr char kGivenUp[] = "SolidWorks call given up after (\\d+) ms";
    // SolidWorks answers once the plug-in gave its call up (Wine returns the cancel only then).
    void AnswerOnceGivenUp() const
    {
        CDialogDriver::WaitFor([&] { return Traced(kGivenUp) >= 0; }, 20000), Answer();
    }
    static void Answer() { PostMessageW(Question(), WM_COMMAND, IDOK, 0); }
    // QelCreate, the user pressing Switch, then Cancel in the box; the message
    // shown ("" if none). Cancel closes the box at once, before any answer.
    std::string CreateCancelled()
    {
        bool closed = false;
        CDialogDriver user(
            {{IDC_SOLIDWORKS_SWITCH,
              [&](HWND box)
              {
                  m_switchEnabled = IsWindowEnabled(GetDlgItem(box, IDC_SOLIDWORKS_SWITCH));
                  CDialogDriver::Press(box, IDC_SOLIDWORKS_SWITCH);
                  CDialogDriver::Press(box, IDCANCEL);
                  closed = CDialogDriver::WaitFor([&] { return !IsWindow(box); }, 10000);
                  Answer(); // Wine waits for the answer
              }},
             {CDialogDriver::kMessageBox, [](HWND b) { CDialogDriver::Press(b, IDOK); }}});
        m_result = m_plugin.QelCreate(m_part.data());
        user.Finish();
        EXPECT_TRUE(closed) << "the host waited for SolidWorks";
        return user.MessageTexts().empty() ? "" : user.MessageTexts()[0];
    }

    HostFilter m_hostFilter;
    bool m_switchEnabled = false;
    std::atomic<bool> m_done{false};
    std::thread m_watchdog{[this]
                           { CDialogDriver::WaitFor([&] { return +m_done; }, 240000), Answer(); }};
};

TEST_F(QuestionTest, Create_Box_SwitchesToTheQuestionAndClosesOnceAnswered)
{
    std::string shown;
    HWND owner = nullptr;
    bool inFront = false;
    BOOL hostEnabled = TRUE;
    CDialogDriver user({{IDC_SOLIDWORKS_SWITCH, [&](HWND box)
                         {
                             shown = CDialogDriver::ItemText(box, IDC_SOLIDWORKS_WAIT_TEXT);
                             owner = GetWindow(box, GW_OWNER);
                             hostEnabled = IsWindowEnabled(m_host.Get());
                             // Pressed again once, as a user would: without a window
                             // manager a late X focus event can take Wine's foreground back.
                             for (int press = 0; press < 2 && !inFront; ++press)
                                 CDialogDriver::Press(box, IDC_SOLIDWORKS_SWITCH),
                                     inFront = CDialogDriver::WaitFor(
                                         [&] { return GetForegroundWindow() == Question(); });
                             Answer(); // the box closes by itself: the step's dialog reacts
                         }}});
    EXPECT_EQ(1, m_plugin.QelCreate(m_part.data())); // the part made and opened
    user.Finish();
    const unsigned seconds = std::stoul(Groups({shown}, "(\\d+)").at(0));
    EXPECT_EQ(NotAnsweringText(seconds), shown);
    EXPECT_GE(seconds, 5u) << "shown before 5 s";
    EXPECT_EQ(m_host.Get(), owner);
    EXPECT_FALSE(hostEnabled) << "the host took input while SolidWorks was not answering";
    EXPECT_TRUE(inFront) << "SolidWorks' question was not brought to the front";
    EXPECT_GT(m_hostFilter.pending, 0) << "the host's filter was never asked";
}

TEST_F(QuestionTest, Create_Cancel_EndsTheCallAndSendsNothingMore)
{
    // SolidWorks asking a question, rejecting the call as busy, or busy and
    // minimised, reading no messages (Switch waits for nothing): the same box.
    for (const char* options : {"ask-at=app:0x31", "fail-hresult=app:0x31:0x80010001:100000",
                                "minimized=1 busy-at=app:0x31:10000"})
    {
        SCOPED_TRACE(options);
        s_simulator->Configure(std::string("reset=1 docs=assembly ") + options);
        EXPECT_EQ(CannotCreatePartText(Stem(), CallCancelledText()), CreateCancelled());
        EXPECT_LT(Traced(kGivenUp), 10000) << "Switch waited for the busy SolidWorks";
        EXPECT_EQ(0, m_result);
        EXPECT_THAT(s_simulator->JournalLines().back(), testing::StartsWith("app 0x31 method"));
        EXPECT_TRUE(IsWindowEnabled(m_host.Get()));
        EXPECT_EQ(0, s_simulator->OutstandingReferences());
        EXPECT_THAT(PartDirFiles(), ElementsAre("QelSW99_3D.lock", "TempSW.sat"));
        HoldLock(PartDir()); // the lock is free: it is had at once
    }
}

// SolidWorks does not answer call K (a question), for every K: Cancel in the box
// (every fourth K, from the first in English and the third in German; the texts
// are the bound's), or the silent bound of 1 s. The insertion ends there; the
// cancelled call's trace line shows the cancel (Wine returns it once answered).
TEST_F(QuestionTest, EveryCall_NotAnswered_TheInsertionEndsThere)
{
    s_simulator->Configure("reset=1 docs=assembly");
    EXPECT_EQ("", Create(m_part.data()));
    const std::vector<std::string> dry = s_simulator->JournalLines();
    CSettingsFileOverride settings("[Options]\r\nPartPath=" + PartDir() +
                                   "\r\nTrace=1\r\nSolidWorksWaitSeconds=1");
    for (const bool box : {true, false})
        for (size_t k = box && GermanUserTexts() ? 3 : 1; k <= dry.size(); k += box ? 4 : 1)
        {
            SCOPED_TRACE((box ? "Cancel at call " : "bound at call ") + std::to_string(k));
            s_simulator->Configure("reset=1 docs=assembly hold-files=1 ask-at=" +
                                   std::to_string(k));
            for (const std::string& name : PartDirFiles()) // no longer held
                DeleteFileA((PartDir() + name).c_str());
            DeleteFileA(m_temp.PathOf("QelSW99_3D.log").c_str());
            const long references = s_simulator->OutstandingReferences();
            std::thread late([&, box] { // the silent call's question
                if (!box && CDialogDriver::WaitFor(Question, 10000))
                    AnswerOnceGivenUp();
            });
            m_switchEnabled = false;
            const std::string error = box ? CreateCancelled() : Create(m_part.data());
            late.join();
            EXPECT_THAT(Traced(kGivenUp), AtTheBound(box ? 5000 : 1000)); // the box, or the bound
            if (box) // nothing to switch to until the main window is known (from the view)
                EXPECT_EQ(!Groups({dry.begin(), dry.begin() + k - 1}, "^(view)").empty(),
                          m_switchEnabled);
            const std::string reason = CallCancelledText(), part = Stem() + ".SLDPRT";
            const std::string left = FileExists(part) ? " " + PartFileLeftText() : "";
            EXPECT_EQ(0, m_result);
            EXPECT_THAT(error, testing::AnyOf(CannotInsertPartText(reason),
                                              CannotCreatePartText(Stem(), reason),
                                              CannotCreatePartText(part, reason + left)));
            EXPECT_EQ(k, s_simulator->JournalLines().size()) << "asked after call K";
            const std::vector<std::string> log = ReadFileLines(m_temp.PathOf("QelSW99_3D.log"));
            auto cancelled = std::find_if(log.begin(), log.end(),
                                          [k, n = 0u](auto& line) mutable {
                                              return line.find(" call 0x") != line.npos && ++n == k;
                                          });
            ASSERT_NE(log.end(), cancelled);
            EXPECT_THAT(*cancelled, testing::HasSubstr("FAIL 0x80010002"));
            EXPECT_THAT(std::vector<std::string>(cancelled, log.end()),
                        testing::Not(testing::Contains(testing::HasSubstr("SAT file written"))));
            // An object the cancelled call returns never reaches the plug-in:
            // Wine's COM keeps its reference.
            const bool object = dry[k - 1].find('#', dry[k - 1].rfind("-> ")) != std::string::npos;
            EXPECT_EQ(references + (object ? 1 : 0), s_simulator->OutstandingReferences());
            EXPECT_TRUE(IsWindowEnabled(m_host.Get()));
            EXPECT_EQ(nullptr, FindWindowA("#32770", "QelSW99_3D")) << "a box left";
            HoldLock(PartDir());
        }
}

TEST_F(QuestionTest, Create2_Silent_CancelledAtTheBound)
{
    CSettingsFileOverride bound("[Options]\r\nPartPath=" + PartDir() +
                                "\r\nSolidWorksWaitSeconds=2\r\nTrace=1\r\n");
    HWND box = nullptr;
    // Once given up, or past the 5 s after which a call that may show boxes would show one.
    std::thread answer([&] { AnswerOnceGivenUp(), box = FindWindowA("#32770", "QelSW99_3D"); });
    EXPECT_EQ(CannotCreatePartText(Stem(), CallCancelledText()), Create(m_part.data()));
    answer.join();
    EXPECT_EQ(0, m_result);
    EXPECT_EQ(nullptr, box) << "a silent call showed a box";
    EXPECT_THAT(Traced(kGivenUp), AtTheBound(2000));
}

// While SolidWorks holds the call, a host paint re-enters after work of its
// own, or pumps the host's queue past the bound (a progress display, say)
// and takes a wake-up meant for the wait: the outer call's bound holds.
TEST_F(QuestionTest, Create2_HostPaintDuringTheWait_TheOuterCallKeepsItsBound)
{
    CSettingsFileOverride ini("[Options]\r\nPartPath=" + PartDir() +
                              "\r\nSolidWorksWaitSeconds=2\r\nTrace=1");
    std::string inner;
    const std::function<void()> paints[] = {
        [&] { Sleep(600), inner = Create(m_part.data()); },
        []
        {
            for (const DWORD end = GetTickCount() + 2500; GetTickCount() < end; Sleep(10))
                for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);)
                    DispatchMessageA(&m);
        }};
    for (const std::function<void()>& paint : paints)
    {
        OnHostRepaint(paint);
        DeleteFileA(m_temp.PathOf("QelSW99_3D.log").c_str());
        std::thread painter(
            [&] { CDialogDriver::WaitFor(Question, 10000), RepaintHost(), AnswerOnceGivenUp(); });
        EXPECT_EQ(CannotCreatePartText(Stem(), CallCancelledText()), Create(m_part.data()));
        painter.join();
        s_simulator->Configure("reset=1 docs=assembly ask-at=app:0x31");
    }
    EXPECT_EQ(CannotCreatePartText(Stem(), ReenteredText(PartDir())), inner);
}

// Two host threads insert, each with its own SolidWorksWaitSeconds: the one
// bounded at 2 s is cancelled there, whether the other (unbounded) insertion
// began first and ended first, or began later and ends while it waits.
TEST_F(QuestionTest, Create2_TwoThreads_EachKeepsItsOwnBound)
{
    for (const int bounded : {1, 0}) // the thread (in starting order) with the bound
    {
        SCOPED_TRACE("bounded: thread " + std::to_string(bounded));
        s_simulator->Configure("reset=1 docs=assembly");
        DeleteFileA(m_temp.PathOf("QelSW99_3D.log").c_str());
        CScratchFolder dirs[2] = {CScratchFolder("first"), CScratchFolder("second")};
        CHandle locks[2];
        std::string texts[2];
        int results[2] = {-1, -1};
        std::thread threads[2];
        for (int i = 0; i < 2; ++i)
        {
            CSettingsFileOverride settings(
                "[Options]\r\nTrace=1\r\nPartPath=" + dirs[i].Path() +
                "\r\nLockWaitSeconds=60\r\nSolidWorksWaitSeconds=" + (i == bounded ? "2" : "0"));
            locks[i] = HoldLock(dirs[i].Path() + "\\");
            threads[i] = std::thread([&, i] { texts[i] = Create2(m_plugin, results[i]); });
            EXPECT_TRUE(CDialogDriver::WaitFor( // at the lock: past the main window's view
                [&] { return Groups(s_simulator->JournalLines(), "^(view)").size() > i + 0u; },
                10000));
        }
        auto askThenFree = [&](int i)
        {
            s_simulator->Configure( // its import: the second when the other inserted first
                "ask-at=app:0x31#" + std::to_string(1 + bounded));
            locks[i] = CHandle();
            CDialogDriver::WaitFor([&] { return Question() != nullptr; }, 10000);
        };
        const int other = 1 - bounded;
        if (bounded == 1) // the other ends first
            locks[other] = CHandle(), threads[other].join();
        askThenFree(bounded);
        std::thread answer([&] { AnswerOnceGivenUp(); });
        if (bounded == 0) // the other goes on while this one waits
            locks[other] = CHandle(), threads[other].join();
        threads[bounded].join();
        answer.join();
        EXPECT_EQ(
            CannotCreatePartText(dirs[bounded].Path() + "\\M8x20_DIN 933_8.8", CallCancelledText()),
            texts[bounded]);
        EXPECT_EQ(1, results[other]) << texts[other];
    }
}

// The part window's place: 300 x 200 in the lower right corner of the
// document area, in the area's client coordinates.
struct PlacementCase
{
    const char* name;
    const char* options;
    const char* later; // applied after the documents were opened
    bool placed;
    long left, top;
    bool mainMinimizedAfter;
};

class PlacementTest : public SolidWorksTest, public testing::WithParamInterface<PlacementCase>
{
};

TEST_P(PlacementTest, Create2_PlacesThePartWindowInTheLowerRightCorner)
{
    s_simulator->Configure(GetParam().options);
    s_simulator->Configure(GetParam().later);
    std::vector<uint8_t> part = BoltBlock();

    EXPECT_EQ("", Create(part.data()));

    HWND main = s_simulator->MainWindow();
    const swsim::SimDocumentInfo opened = s_simulator->Documents().back();
    EXPECT_EQ(kBoltFile, opened.title);
    EXPECT_TRUE(opened.active);
    EXPECT_EQ(GetParam().mainMinimizedAfter, IsIconic(main) != FALSE);
    if (GetParam().placed)
    {
        RECT frame = {};
        GetWindowRect(opened.frame, &frame);
        MapWindowPoints(nullptr, GetWindow(main, GW_CHILD), reinterpret_cast<POINT*>(&frame), 2);
        RECT area = {};
        GetClientRect(GetWindow(main, GW_CHILD), &area);
        long left = GetParam().left != 0 ? GetParam().left : std::max(0L, area.right - 300);
        long top = GetParam().top != 0 ? GetParam().top : std::max(0L, area.bottom - 200);
        EXPECT_EQ((std::vector<long>{left, top, 300, 200}),
                  (std::vector<long>{frame.left, frame.top, frame.right - frame.left,
                                     frame.bottom - frame.top}));
    }
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PlacementTest,
    testing::Values(
        PlacementCase{"Area1024x700", "docs=assembly area=1024x700", "", true, 724, 500, false},
        PlacementCase{"NarrowArea", "docs=assembly area=250x400", "", true, 0, 0, false},
        PlacementCase{"SmallArea", "docs=assembly area=250x150", "", true, 0, 0, false},
        // SolidWorks makes a new assembly when none is open: its window is found.
        PlacementCase{"OnlyPartsOpen", "docs=part,part area=1024x700", "", true, 724, 500, false},
        PlacementCase{"MinimizedIsRestored", "docs=assembly minimized=1", "", true, 0, 0, false},
        PlacementCase{"NoDocumentOpen", "minimized=1", "", true, 0, 0, false},
        // Without an assembly template no main window is found: nothing is
        // restored or moved; the part is still opened and activated.
        PlacementCase{"NoAssemblyTemplate", "minimized=1 new-assembly=0", "", false, 0, 0, true},
        PlacementCase{"PartWithoutView", "docs=assembly", "no-view=1", false, 0, 0, false},
        PlacementCase{"ComponentsFirst", "components=assembly docs=assembly", "", true, 0, 0,
                      false}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

// One of each export kind as the host calls them, for the runs under each
// Windows version Wine can pretend to be (tests/entry/windows-version.sh):
// the part placed and SolidWorks brought to the front with the foreground
// lock time-out as it was, the options dialog opened and cancelled, a
// direct file written.
TEST_F(SolidWorksTest, EveryExportKind_WorksOnThisWindowsVersion)
{
    s_simulator->Configure("docs=assembly area=1024x700");
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<PVOID>(4321), 0);
    std::vector<uint8_t> part = BoltBlock();

    EXPECT_EQ("", Create(part.data()));

    HWND main = s_simulator->MainWindow();
    RECT frame = {};
    GetWindowRect(s_simulator->Documents().back().frame, &frame);
    MapWindowPoints(nullptr, GetWindow(main, GW_CHILD), reinterpret_cast<POINT*>(&frame), 2);
    EXPECT_EQ((std::vector<long>{724, 500, 1024, 700}),
              (std::vector<long>{frame.left, frame.top, frame.right, frame.bottom}));
    EXPECT_EQ(main, GetForegroundWindow());
    DWORD timeout = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    EXPECT_EQ(4321u, timeout);

    CDialogDriver user(
        {{CDialogDriver::kOptions, [](HWND d) { CDialogDriver::Press(d, IDCANCEL); }}});
    EXPECT_EQ(1, m_plugin.QelOptions());
    user.Finish();
    char name[MAX_PATH] = {};
    std::snprintf(name, sizeof(name), "%sdirect", PartDir().c_str());
    EXPECT_EQ(1, m_plugin.QelCreateDirectFile(part.data(), name, sizeof(name)));
    EXPECT_TRUE(FileExists(PartDir() + "direct.sat"));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

// Every automation call of an insertion failing in turn (the numbers of the
// trace above). The outcome of call K is letter K of this text:
//   S start message, C "cannot create" before the extension was added, N after
//   it, I "cannot insert", G the window step goes on silently.
constexpr char kFaultOutcomes[] = "SGGGGGGCCCCNNNNNNNIIGGGGGIII";

class FaultTest : public SolidWorksTest, public testing::WithParamInterface<int>
{
};

TEST_P(FaultTest, Create2_OneFailingCall_EndsWithItsStepsOutcome)
{
    const int call = GetParam();
    const char outcome = kFaultOutcomes[call - 1];
    const std::string fault = "Fault " + std::to_string(call);
    s_simulator->Configure("docs=part,assembly hold-files=1");
    s_simulator->ClearJournal();
    s_simulator->Configure("fail-call=" + std::to_string(call) + ":\"" + fault + "\"");
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<PVOID>(4321), 0);
    std::vector<uint8_t> part = BoltBlock();

    std::string error = Create(part.data());

    const std::string stem = PartDir() + "M8x20_DIN 933_8.8";
    std::string expected; // 'G': none
    if (outcome == 'S')
        expected = StartSolidWorksText();
    else if (outcome == 'C' || outcome == 'N')
        expected = CannotCreatePartText(outcome == 'C' ? stem : stem + ".SLDPRT", fault);
    else if (outcome == 'I')
        expected = CannotInsertPartText(fault);
    EXPECT_EQ(expected, error);
    if (outcome == 'C' || outcome == 'N')
    {
        EXPECT_THAT(PartDirFiles(), ElementsAre("QelSW99_3D.lock", "TempSW.sat"))
            << "a stray part file";
    }
    EXPECT_EQ(outcome == 'G' ? 1 : 0, m_result);
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
    DWORD timeout = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    EXPECT_EQ(4321u, timeout);
    EXPECT_TRUE(LockWindowUpdate(s_simulator->MainWindow())) << "update lock left behind";
    LockWindowUpdate(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Calls, FaultTest,
                         testing::Range(1, static_cast<int>(sizeof(kFaultOutcomes))));

// A busy SolidWorks rejects calls for a while: they are tried again for a
// few seconds, then the step reports its message. Results that the
// insertion ignores may come back as anything: they never fail a step.
struct BusyCase
{
    const char* name;
    const char* fault;
    int rejected; // journal lines answered with the rejection; -1: every line, tried again and
                  // again
    bool inserted;
};

class BusyTest : public SolidWorksTest, public testing::WithParamInterface<BusyCase>
{
};

TEST_P(BusyTest, Create2_RejectedCalls_AreRetriedForAWhile)
{
    s_simulator->Configure("docs=part,assembly");
    s_simulator->ClearJournal();
    s_simulator->Configure(GetParam().fault);
    std::vector<uint8_t> part = BoltBlock();

    std::string error = Create(part.data());

    EXPECT_EQ(GetParam().inserted ? "" : StartSolidWorksText(), error);
    EXPECT_EQ(GetParam().inserted ? 1 : 0, m_result);
    std::vector<std::string> journal = s_simulator->JournalLines();
    const auto rejected = std::count_if(
        journal.begin(), journal.end(),
        [](const std::string& line) { return line.find("-> FAIL 0x8001") != std::string::npos; });
    if (GetParam().rejected < 0)
        EXPECT_TRUE(rejected > 5 && rejected == static_cast<long>(journal.size()))
            << "given up before retrying, or went on after the rejections";
    else
        EXPECT_EQ(GetParam().rejected, rejected);
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

INSTANTIATE_TEST_SUITE_P(
    Busy, BusyTest,
    testing::Values(BusyCase{"RevisionRejectedThrice", "fail-hresult=app:12:0x80010001:3", 3, true},
                    BusyCase{"OpenRetryLaterTwice", "fail-hresult=app:99:0x8001010A:2", 2, true},
                    BusyCase{"RejectedForLong", "fail-hresult=app:12:0x80010001:100000", -1, false},
                    BusyCase{"IgnoredResultsNull",
                             "answer=app:49:null answer=doc:0x1018F:null "
                             "answer=doc:0x10025:null answer=app:91:null",
                             0, true},
                    BusyCase{"IgnoredResultsEmpty",
                             "answer=app:49:empty answer=doc:0x1018F:empty "
                             "answer=doc:0x10025:empty answer=app:91:empty",
                             0, true},
                    BusyCase{"IgnoredResultsText",
                             "answer=app:49:done answer=doc:0x1018F:done "
                             "answer=doc:0x10025:done answer=app:91:done",
                             0, true}),
    [](const testing::TestParamInfo<BusyCase>& info) { return info.param.name; });

// Trace=1 (rows: a SolidWorks fault; a log there before, in bytes, -1 a folder; a parameter
// text that long; the history .log.1 held without delete sharing; where the old log ends up:
// 'k'ept at the log's start, 'r'otated into .log.1, or left 'a'lone): the outcome and the journal
// as with Trace=0, the journal's calls in the log, and log and history within their bound.
TEST_F(SolidWorksTest, Create2_TraceOn_KeepsTheOutcomeAndLogsTheJournalsCalls)
{
    for (const auto& [fault, oldLog, longText, held, where] :
         std::vector<std::tuple<std::string, int, int, bool, char>>{
             {"", 1000, 0, false, 'k'},
             {"fail-hresult=app:0xC:0x80010001:2", 1000, 0, false, 'k'},
             {"", 1100000, 0, false, 'r'},
             {"", 1047576, 0, false, 'r'}, // passes the bound during the call
             {"", -1, 0, false, 'a'},
             {"", 1100000, 0, true, 'a'},
             {"", 1000, 3000000, false, 'k'}})
    {
        SCOPED_TRACE(fault + " " + std::to_string(oldLog) + " " + std::to_string(longText));
        CScratchFolder temp("trace");
        const CTempVariables variables(temp.Path());
        const std::string log = temp.PathOf("QelSW99_3D.log"), history = "history\r\n";
        const std::string old = std::string(std::max(oldLog, 2) - 2, 'x') + "\r\n";
        oldLog < 0 ? (void)temp.MakeDir("QelSW99_3D.log") : WriteFileText(log, old);
        WriteFileText(log + ".1", history);
        const CHandle hold(held ? CreateFileA((log + ".1").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, 0, nullptr)
                                : nullptr);
        const std::string parameters = "ShowMessages=0|Note=" + std::string(longText, 'p');
        auto insert = [&, fault = fault](const char* trace)
        {
            CSettingsFileOverride settings("[Options]\r\nPartPath=" + PartDir() +
                                           "\r\nTrace=" + trace);
            s_simulator->Configure("reset=1 docs=part,assembly " + fault);
            s_simulator->ClearJournal();
            DeleteFileA((PartDir() + kBoltFile).c_str());
            const std::string message = Create(BoltBlock().data(), parameters.c_str());
            return std::make_tuple(m_result, message,
                                   Groups(s_simulator->JournalLines(), "^\\S+ (0x\\w+) "));
        };
        const auto traced = insert("1");

        EXPECT_EQ(insert("0"), traced);
        EXPECT_EQ(1, std::get<0>(traced));
        const std::string text = oldLog < 0 ? "" : ReadFileText(log),
                          kept = ReadFileText(log + ".1");
        std::vector<std::string> ids = Groups(ReadFileLines(log + ".1"), " call (0x\\w+) ");
        for (const std::string& id : Groups(ReadFileLines(log), " call (0x\\w+) "))
            ids.push_back(id);
        EXPECT_EQ(where == 'a' ? std::vector<std::string>() : std::get<2>(traced), ids);
        EXPECT_EQ(where == 'k', text.rfind(old, 0) == 0 && text.size() > old.size());
        EXPECT_EQ(where == 'r', kept.rfind(old, 0) == 0);
        EXPECT_EQ(where != 'r', kept == history);
        EXPECT_LE(text.size(), std::max<std::size_t>(old.size(), 1 << 20));
        const std::string head =
            "^[-0-9]{10} [:0-9]{8}\\.\\d{3} " + std::to_string(GetCurrentProcessId()) + " " +
            std::to_string(GetCurrentThreadId()) + " QelCreate_2 \\(plug-in 1\\.0\\.0\\.0 [^,]+" +
            "\\\\QelSW99_3D\\.dll, host [^,]+\\\\entry_tests\\.exe, Windows [.0-9]+[^)]*, ANSI " +
            "code page 1252\\) with a part block of " + std::to_string(BoltBlock().size());
        EXPECT_TRUE(where != 'k' || std::regex_search(text.substr(old.size()), std::regex(head)));
    }
}

// Two host threads at once with Trace=1: every line of the log whole, and each thread's 300
// results (every file written) under its own id.
TEST_F(SolidWorksTest, DirectFile_TwoThreadsTraced_WriteEveryFileAndEveryLine)
{
    const CTempVariables variables(m_folder.Path());
    const CSettingsFileOverride settings("[Options]\r\nTrace=1");
    std::string ids[2];
    auto calls = [&, part = BoltBlock()](int t)
    {
        ids[t] = std::to_string(GetCurrentThreadId());
        for (int i = 0; i < 300; ++i)
        {
            std::string name =
                m_folder.PathOf(ids[t] + "-" + std::to_string(i)) + std::string(5, 0);
            m_plugin.QelCreateDirectFile(part.data(), name.data(), name.size());
        }
    };
    std::thread other(calls, 1);
    calls(0);
    other.join();
    std::map<std::string, int> results; // by thread id; a line not whole comes under ""
    for (const std::string& line : ReadFileLines(m_folder.PathOf("QelSW99_3D.log")))
    {
        std::smatch match;
        std::regex_match(line, match, std::regex("[-0-9]{10} [:.0-9]{12} \\d+ (\\d+) (.+)"));
        results[match[1]] += match[2] == "QelCreateDirectFile result 1";
    }
    EXPECT_EQ((std::map<std::string, int>{{ids[0], 300}, {ids[1], 300}}), results);
}

// Trace=1: every 0 without a message has its reason (rows), and Cancel in the options writes
// nothing and says so.
TEST_F(SolidWorksTest, Trace_GivesTheReasonOfEveryZero)
{
    const CTempVariables variables(m_folder.Path());
    const CSettingsFileOverride settings("[Options]\r\nPartPath=" + PartDir() + "\r\nTrace=1");
    CPartBlockBuilder other; // no attribute read, so no name: the Save dialog asks
    other.SetFormatWords(1, 2, 54, 12), other.AddAttribute("Designation", "M8x20");
    const auto cancel = [](HWND dialog) { CDialogDriver::Press(dialog, IDCANCEL); };
    CDialogDriver user({{CDialogDriver::kSaveFile, cancel}, {CDialogDriver::kOptions, cancel}});
    for (auto [name, size] : std::vector<std::pair<std::string, std::size_t>>{
             {"NUL", 8}, {"", 8}, {PartDir() + "b", PartDir().size() + 5}})
        name.resize(size), m_plugin.QelCreateDirectFile(BoltBlock().data(), &name[0], size);
    Create(other.Build().data());
    m_plugin.QelOptions();
    const CHostInstallation host({"QelSatWr.dll"});
    host.Run({"QelCreate_2", "null", "", "9"});
    const std::string folder = host.Folder() + ", ", ini = CSettingsFileOverride::Path();
    EXPECT_THAT(ReadFileLines(m_folder.PathOf("QelSW99_3D.log")),
                testing::IsSupersetOf(
                    {EndsWith("direct file not written: the file name names a device"),
                     EndsWith("direct file not written: an empty file name"),
                     EndsWith("direct file not written: no room for \".sat\""),
                     EndsWith("format words at offsets 4, 8, 12 not 0, 2, 54: no attribute read"),
                     EndsWith("Save dialog cancelled: nothing inserted"),
                     EndsWith("settings not written to " + ini + ": nothing changed"),
                     EndsWith("library QelMain.dll: not found in " + folder + folder +
                              "C:\\windows\\system32")}));
}

// SolidWorks ends before or in the middle of an insertion: the step's
// message, the host goes on, and the next call works once SolidWorks runs.
struct GoneCase
{
    const char* name;
    const char* options; // "": ended before the call
    std::string (*message)();
};

// The start of each step's message, in the language of the test run.
std::string StartPrefix()
{
    return StartSolidWorksText();
}
std::string CreatePrefix()
{
    const std::string text = CannotCreatePartText("", "");
    return text.substr(0, text.find('"'));
}
std::string InsertPrefix()
{
    const std::string text = CannotInsertPartText("");
    return text.substr(0, text.find('"'));
}

class GoneTest : public testing::TestWithParam<GoneCase>
{
};

TEST_P(GoneTest, Create2_SolidWorksEnds_ReportsAndTheNextCallWorks)
{
    CScratchFolder folder("gone");
    CSettingsFileOverride settings("[Options]\r\nPartPath=" + folder.Path() + "\r\n");
    CPluginModule plugin;
    std::vector<uint8_t> part = BoltBlock();
    char buffer[1024] = {};
    {
        swsim::CSimulatorClient simulator(std::string("docs=assembly ") + GetParam().options);
        if (*GetParam().options == '\0')
            simulator.Kill();
        EXPECT_EQ(0, plugin.QelCreate_2(part.data(), "", buffer, sizeof(buffer)));
    }
    const std::string start = GetParam().message();
    EXPECT_EQ(start, std::string(buffer).substr(0, start.size())) << buffer;

    swsim::CSimulatorClient again("docs=assembly");
    std::memset(buffer, 0, sizeof(buffer));
    EXPECT_EQ(1, plugin.QelCreate_2(part.data(), "", buffer, sizeof(buffer))) << buffer;
    EXPECT_EQ(0, again.OutstandingReferences());
}

INSTANTIATE_TEST_SUITE_P(
    Moments, GoneTest,
    testing::Values(GoneCase{"BeforeTheCall", "", StartPrefix},
                    GoneCase{"DuringTheImport", "exit-at=app:0x31", CreatePrefix},
                    GoneCase{"WhileOpening", "exit-at=app:0x63", InsertPrefix}),
    [](const testing::TestParamInfo<GoneCase>& info) { return info.param.name; });

} // namespace
} // namespace qel::test
