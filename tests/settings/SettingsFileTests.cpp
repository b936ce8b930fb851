#include "settings/SettingsFile.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <windows.h>

#include <sddl.h>

#include "tests/support/DialogDriver.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SettingsFileOverride.h"
#include "tests/support/TestFiles.h"
#include "TempVariables.h"
#include "common/ErrorMessage.h"
#include "common/WinOwners.h"

using qel::CSettingsFile;

namespace
{

constexpr const char* kIniName = "QelSettingsTest.ini";
constexpr const char* kMissing = "<missing>";

void WriteSetting(const std::string& ini, const char* key, const char* value)
{
    ASSERT_TRUE(WritePrivateProfileStringA("Options", key, value, ini.c_str())) << ini;
}

std::string ReadSetting(const std::string& ini, const char* key)
{
    char value[1024] = {};
    GetPrivateProfileStringA("Options", key, kMissing, value, sizeof value, ini.c_str());
    return value;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CurrentDirectory()
{
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

std::string ShortForm(const std::string& path)
{
    char shortPath[MAX_PATH] = {};
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? shortPath : "";
}

// Whether another thread could take the named mutex at this moment.
bool IsMutexFree(const char* name)
{
    bool isFree = false;
    std::thread probe(
        [&]
        {
            qel::CHandle mutex(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name));
            if (mutex.IsValid() && WaitForSingleObject(mutex.Get(), 0) == WAIT_OBJECT_0)
            {
                isFree = true;
                ReleaseMutex(mutex.Get());
            }
        });
    probe.join();
    return isFree;
}

class SettingsFileTest : public ::testing::Test
{
protected:
    std::string Ini() const { return m_scratch.PathOf(kIniName); }

    std::unique_ptr<CSettingsFile> Open(const char* name = kIniName) const
    {
        return std::make_unique<CSettingsFile>(name, m_scratch.Path().c_str());
    }

    qel::test::CScratchFolder m_scratch{"settings"};
};

// ---- Reading ----------------------------------------------------------------

TEST_F(SettingsFileTest, NoFile_GivesLongTempDirWithBackslashAndFlagZeroAndCreatesNoFile)
{
    std::string tempDir = m_scratch.MakeDir("Temp Dir");
    CTempVariables tmp(m_scratch.PathOf("temp dir"));

    auto settings = Open();

    EXPECT_EQ(tempDir + "\\", settings->GetPartPath());
    EXPECT_EQ(0, settings->GetOverwrite());
    EXPECT_FALSE(Exists(Ini()));
}

TEST_F(SettingsFileTest, NoFile_ShortTempDirComesBackLong)
{
    std::string tempDir = m_scratch.MakeDir("Einzelteile Katalog");
    std::string shortDir = ShortForm(tempDir);
    ASSERT_FALSE(shortDir.empty());
    ASSERT_NE(tempDir, shortDir);
    CTempVariables tmp(shortDir);

    auto settings = Open();

    EXPECT_EQ(tempDir + "\\", settings->GetPartPath());
}

TEST_F(SettingsFileTest, NoFile_TempDirOnAShareIsThePartDirectoryAsGiven)
{
    CTempVariables tmp("\\\\server\\share\\temp");

    auto settings = Open();

    EXPECT_STREQ("\\\\server\\share\\temp\\", settings->GetPartPath());
}

struct LevelsCase
{
    const char* name;
    const char* stored; // behind the scratch directory and a backslash
    const char* levels[3];
};

std::ostream& operator<<(std::ostream& out, const LevelsCase& c)
{
    return out << c.name;
}

class StoredPartPath : public SettingsFileTest, public ::testing::WithParamInterface<LevelsCase>
{
};

TEST_P(StoredPartPath, CreatesEveryLevelKeepsTextAndCurrentDirectory)
{
    const LevelsCase& c = GetParam();
    std::string stored = m_scratch.PathOf(c.stored);
    WriteSetting(Ini(), "PartPath", stored.c_str());
    std::string work = m_scratch.MakeDir("Work");
    qel::CCurrentDirectory restore;
    ASSERT_TRUE(SetCurrentDirectoryA(work.c_str()));

    auto settings = Open();

    EXPECT_EQ(stored, settings->GetPartPath());
    EXPECT_EQ(work, CurrentDirectory());
    for (const char* level : c.levels)
        EXPECT_TRUE(IsDirectory(m_scratch.PathOf(level))) << level;
}

const LevelsCase kLevelsCases[] = {
    {"Backslashes", "new a\\b\\c", {"new a", "new a\\b", "new a\\b\\c"}},
    {"ForwardSlashes", "new a/b/c", {"new a", "new a\\b", "new a\\b\\c"}},
    {"TrailingBackslash", "new a\\b\\c\\", {"new a", "new a\\b", "new a\\b\\c"}},
    {"MixedSeparators", "new a/b\\c/", {"new a", "new a\\b", "new a\\b\\c"}},
};

INSTANTIATE_TEST_SUITE_P(SettingsFile, StoredPartPath, ::testing::ValuesIn(kLevelsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, PartPathOf300CharactersKeepsFirst259)
{
    std::string stored = m_scratch.Path() + "\\";
    stored += std::string(300 - stored.size(), 'p');
    WriteSetting(Ini(), "PartPath", stored.c_str());

    auto settings = Open();

    EXPECT_EQ(stored.substr(0, 259), settings->GetPartPath());
}

struct OverwriteCase
{
    const char* name;
    const char* value; // nullptr: the key is missing
    BOOL expected;
};

std::ostream& operator<<(std::ostream& out, const OverwriteCase& c)
{
    return out << c.name;
}

class OverwriteValue : public SettingsFileTest, public ::testing::WithParamInterface<OverwriteCase>
{
};

TEST_P(OverwriteValue, ReadsAsDecimalInteger)
{
    WriteSetting(Ini(), "PartPath", m_scratch.Path().c_str());
    if (GetParam().value != nullptr)
        WriteSetting(Ini(), "Overwrite", GetParam().value);

    EXPECT_EQ(GetParam().expected, Open()->GetOverwrite());
}

const OverwriteCase kOverwriteCases[] = {
    {"One", "1", 1},
    {"Two", "2", 1},
    {"OneFollowedByLetters", "1abc", 1},
    {"LettersOnly", "abc", 0},
    {"Empty", "", 0},
    {"Missing", nullptr, 0},
    {"Zero", "0", 0},
    {"PlusSign", "+1", 1},
    {"MinusSign", "-3", 1},
    {"NegativeZero", "-0", 0},
    {"LeadingZeros", "007", 1},
    {"ZeroThenLetters", "0x1", 0},
    {"BeyondInt", "99999999999", 1},
    {"SignOnly", "-", 0},
};

INSTANTIATE_TEST_SUITE_P(SettingsFile, OverwriteValue, ::testing::ValuesIn(kOverwriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The lock wait's bound: a negative value or no number is the default, never an hour.
TEST_F(SettingsFileTest, LockWaitSeconds_NegativeOrNoNumberGivesTheDefault)
{
    WriteSetting(Ini(), "PartPath", m_scratch.Path().c_str());
    const std::pair<const char*, unsigned> rows[] = {
        {"-5", 30}, {"abc", 30}, {"99999999999", 3600}, {" 2", 2}};
    for (const auto& [value, expected] : rows)
    {
        WriteSetting(Ini(), "LockWaitSeconds", value);
        EXPECT_EQ(expected, Open()->GetLockWaitSeconds()) << value;
    }
}

struct DirectoryCase
{
    const char* name;
    const char* suffix;  // appended to the scratch directory
    const char* iniFile; // appended to the scratch directory
};

std::ostream& operator<<(std::ostream& out, const DirectoryCase& c)
{
    return out << c.name;
}

class SettingsDirectory : public SettingsFileTest,
                          public ::testing::WithParamInterface<DirectoryCase>
{
};

TEST_P(SettingsDirectory, GetsOneBackslashBeforeTheFileName)
{
    std::string partDir = m_scratch.MakeDir("Stored");
    WriteSetting(m_scratch.Path() + GetParam().iniFile, "PartPath", partDir.c_str());
    std::string directory = m_scratch.Path() + GetParam().suffix;

    CSettingsFile settings(kIniName, directory.c_str());

    EXPECT_EQ(m_scratch.Path() + GetParam().iniFile, settings.GetIniFile());
    EXPECT_EQ(partDir, settings.GetPartPath());
}

const DirectoryCase kDirectoryCases[] = {
    {"WithoutSeparator", "", "\\QelSettingsTest.ini"},
    {"EndingInBackslash", "\\", "\\QelSettingsTest.ini"},
    {"EndingInSlashGetsBackslash", "/", "/\\QelSettingsTest.ini"},
};

INSTANTIATE_TEST_SUITE_P(SettingsFile, SettingsDirectory, ::testing::ValuesIn(kDirectoryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, ProductConstructorReadsFromWindowsDirectory)
{
    constexpr const char* kName = "QelSettingsProductTest.ini";
    char windows[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    std::string ini = std::string(windows) + "\\" + kName;
    std::string stored = m_scratch.PathOf("Product Parts");
    WriteSetting(ini, "PartPath", stored.c_str());
    WriteSetting(ini, "Overwrite", "1");

    std::string iniFile, partPath;
    BOOL overwrite = 0;
    {
        CSettingsFile settings(kName);
        iniFile = settings.GetIniFile();
        partPath = settings.GetPartPath();
        overwrite = settings.GetOverwrite();
    }
    DeleteFileA(ini.c_str());

    EXPECT_EQ(ini, iniFile);
    EXPECT_EQ(stored, partPath);
    EXPECT_EQ(1, overwrite);
    EXPECT_TRUE(IsDirectory(stored));
}

// ---- The named mutex --------------------------------------------------------

TEST_F(SettingsFileTest, ReadWaitsForTheNamedMutex)
{
    constexpr const char* kName = "QelSettingsLockTest.ini";
    std::string ini = m_scratch.PathOf(kName);
    std::string before = m_scratch.PathOf("Before");
    std::string after = m_scratch.PathOf("After");
    WriteSetting(ini, "PartPath", before.c_str());

    // How long a read takes when nothing holds the mutex: the blocked reader
    // gets ten times that, and at least a second, to show it was not blocked.
    const DWORD start = GetTickCount();
    {
        CSettingsFile unblocked("QelSettingsLockBaseline.ini", m_scratch.Path().c_str());
    }
    const DWORD unblockedTimes10 = std::max<DWORD>(1000, 10 * (GetTickCount() - start));

    qel::CHandle mutex(CreateMutexA(nullptr, TRUE, kName));
    ASSERT_TRUE(mutex.IsValid());
    qel::CHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::string seen;
    std::thread reader(
        [&]
        {
            CSettingsFile settings(kName, m_scratch.Path().c_str());
            seen = settings.GetPartPath();
            SetEvent(done.Get());
        });

    // While this thread holds the mutex the reader cannot finish; what it reads
    // is what the file holds when the mutex is released.
    DWORD whileHeld = WaitForSingleObject(done.Get(), unblockedTimes10);
    WriteSetting(ini, "PartPath", after.c_str());
    ReleaseMutex(mutex.Get());
    DWORD afterRelease = WaitForSingleObject(done.Get(), 30000);
    reader.join();

    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), whileHeld);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), afterRelease);
    EXPECT_EQ(after, seen);
    EXPECT_TRUE(IsDirectory(after));
    EXPECT_FALSE(IsDirectory(before));
}

TEST_F(SettingsFileTest, MutexThatCannotBeCreatedThrowsErrorText)
{
    constexpr const char* kName = "QelSettingsClash.ini";
    // An event of the same name keeps the mutex from being created.
    qel::CHandle clash(CreateEventA(nullptr, TRUE, FALSE, kName));
    ASSERT_TRUE(clash.IsValid());

    std::string message;
    try
    {
        CSettingsFile settings(kName, m_scratch.Path().c_str());
    }
    catch (qel::ErrorText text)
    {
        message = text;
    }

    EXPECT_EQ("Cannot create the mutex \"QelSettingsClash.ini\" !", message);
}

// ---- Creating directories ---------------------------------------------------

struct EnsureCase
{
    const char* name;
    const char* path; // behind the scratch directory and a backslash
    int expected;
};

std::ostream& operator<<(std::ostream& out, const EnsureCase& c)
{
    return out << c.name;
}

class EnsureDirectory : public SettingsFileTest, public ::testing::WithParamInterface<EnsureCase>
{
};

TEST_P(EnsureDirectory, ReportsWhetherTheDirectoryExistsAndRestoresCurrentDirectory)
{
    m_scratch.MakeDir("Existing");
    std::ofstream(m_scratch.PathOf("file.txt")) << "x";
    std::string work = m_scratch.MakeDir("Work");
    auto settings = Open();
    qel::CCurrentDirectory restore;
    ASSERT_TRUE(SetCurrentDirectoryA(work.c_str()));
    std::string path = m_scratch.PathOf(GetParam().path);

    EXPECT_EQ(GetParam().expected, settings->EnsureDirectory(path.c_str()));

    EXPECT_EQ(work, CurrentDirectory());
    EXPECT_EQ(GetParam().expected == 1, IsDirectory(path));
}

const EnsureCase kEnsureCases[] = {
    {"OneMissingLevel", "New", 1},
    {"Existing", "Existing", 1},
    {"ExistingWithTrailingSeparator", "Existing\\", 1},
    {"SeveralMissingLevels", "x\\y\\z", 1},
    {"BelowAFile", "file.txt\\sub", 0},
    {"AFile", "file.txt", 0},
};

INSTANTIATE_TEST_SUITE_P(SettingsFile, EnsureDirectory, ::testing::ValuesIn(kEnsureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, EnsureDirectory_EmptyOrMissingPathFails)
{
    auto settings = Open();

    EXPECT_EQ(0, settings->EnsureDirectory(""));
    EXPECT_EQ(0, settings->EnsureDirectory(nullptr));
}

// ---- Editing ----------------------------------------------------------------

// Stands in for the options dialog: its committed values start as the values
// it is given; a choice made in the "dialog" is committed during the run.
class CFakeEditor : public CSettingsFile::IEditor
{
public:
    CFakeEditor(INT_PTR result, const char* mutexName) : m_result(result), m_mutexName(mutexName) {}

    void Choose(const std::string& path, BOOL overwrite)
    {
        m_choice = path;
        m_choiceOverwrite = overwrite;
        m_chosen = true;
    }

    void SetPartPath(const char* path) override { m_startPath = m_committedPath = path; }
    void SetOverwrite(BOOL overwrite) override { m_startOverwrite = m_committed = overwrite; }
    INT_PTR DoModal() override
    {
        m_lockFreeWhileRunning = IsMutexFree(m_mutexName);
        if (m_duringRun)
            m_duringRun();
        if (m_chosen)
        {
            m_committedPath = m_choice;
            m_committed = m_choiceOverwrite;
        }
        return m_result;
    }
    const char* GetPartPath() const override
    {
        m_lockHeldWhileCommitting = !IsMutexFree(m_mutexName);
        return m_committedPath.c_str();
    }
    BOOL GetOverwrite() const override { return m_committed; }
    void TellKept(const std::string& text) override { m_told += text; }

    std::string m_told; // what the user was told after the run
    std::string m_startPath;
    BOOL m_startOverwrite = -1;
    std::function<void()> m_duringRun; // another writer, say
    bool m_lockFreeWhileRunning = false;
    mutable bool m_lockHeldWhileCommitting = false;

private:
    INT_PTR m_result;
    const char* m_mutexName;
    std::string m_choice;
    BOOL m_choiceOverwrite = 0;
    bool m_chosen = false;
    std::string m_committedPath;
    BOOL m_committed = 0;
};

struct EditCase
{
    const char* name;
    INT_PTR result;
    const char* otherPath = nullptr; // stored by another writer while the dialog is open
                                     // ("": the file is deleted meanwhile)
};

std::ostream& operator<<(std::ostream& out, const EditCase& c)
{
    return out << c.name;
}

class EditSettingsResult : public SettingsFileTest, public ::testing::WithParamInterface<EditCase>
{
};

TEST_P(EditSettingsResult, WritesCommittedValuesUnderTheMutex)
{
    std::string start = m_scratch.MakeDir("Start");
    std::string chosen = m_scratch.PathOf("Chosen");
    WriteSetting(Ini(), "PartPath", start.c_str());
    auto settings = Open();
    CFakeEditor editor(GetParam().result, kIniName);
    editor.Choose(chosen, 5);
    const char* other = GetParam().otherPath;
    const bool kept = other != nullptr && *other != '\0';
    editor.m_duringRun = [&]
    {
        if (kept)
            WriteSetting(Ini(), "PartPath", other);
        else if (other != nullptr)
            DeleteFileA(Ini().c_str());
    };

    EXPECT_EQ(1, settings->EditSettings(editor));

    EXPECT_EQ(start, editor.m_startPath);
    EXPECT_EQ(0, editor.m_startOverwrite);
    EXPECT_TRUE(editor.m_lockFreeWhileRunning);
    EXPECT_TRUE(editor.m_lockHeldWhileCommitting);
    EXPECT_EQ(kept ? other : chosen, ReadSetting(Ini(), "PartPath"));
    EXPECT_EQ("1", ReadSetting(Ini(), "Overwrite"));
    EXPECT_EQ(kept ? start : chosen, settings->GetPartPath());
    EXPECT_EQ(1, settings->GetOverwrite());
    EXPECT_EQ(kept ? "Another program stored PartPath=" + std::string(other) +
                         " while the options were open. That value was kept; your change to it "
                         "was not saved."
                   : "",
              editor.m_told);
}

const EditCase kEditCases[] = {
    {"Ok", 1},
    {"Cancel", 2},
    {"ModalLoopFailed", -1},
    {"OkLeavesAnotherWritersPath", 1, "\\\\server\\parts"},
    {"OkAfterTheFileWasDeleted", 1, ""},
};

INSTANTIATE_TEST_SUITE_P(SettingsFile, EditSettingsResult, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, EditSettings_CancelWithoutApplyWritesNothing)
{
    CTempVariables tmp(m_scratch.MakeDir("Temp Dir"));
    auto settings = Open();
    CFakeEditor editor(2, kIniName);

    EXPECT_EQ(1, settings->EditSettings(editor));

    EXPECT_FALSE(Exists(Ini()));
}

TEST_F(SettingsFileTest, EditSettings_SetupFailureLeavesTheFileUntouched)
{
    WriteSetting(Ini(), "PartPath", m_scratch.Path().c_str());
    WriteSetting(Ini(), "Overwrite", "1abc");
    std::string bytes = ReadBytes(Ini());
    auto settings = Open();
    CFakeEditor editor(CSettingsFile::IEditor::kSetupFailed, kIniName);
    editor.Choose(m_scratch.PathOf("Chosen"), 0);

    EXPECT_EQ(0, settings->EditSettings(editor));

    EXPECT_EQ(bytes, ReadBytes(Ini()));
    EXPECT_EQ(m_scratch.Path(), settings->GetPartPath());
    EXPECT_EQ(1, settings->GetOverwrite());
}

TEST_F(SettingsFileTest, EditSettings_FileThatCannotBeWritten_ThrowsItsNameAndKeepsIt)
{
    WriteSetting(Ini(), "PartPath", m_scratch.Path().c_str());
    const std::string bytes = ReadBytes(Ini());
    auto settings = Open();
    // Another program holds the file without letting anyone write it.
    qel::CHandle holder(CreateFileA(Ini().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.IsValid());
    CFakeEditor editor(IDOK, kIniName);
    editor.Choose(m_scratch.PathOf("Chosen"), 1);

    std::string error;
    try
    {
        settings->EditSettings(editor);
    }
    catch (qel::ErrorText text)
    {
        error = text;
    }

    EXPECT_NE(std::string::npos, error.find("\"" + Ini() + "\"")) << error;
    EXPECT_GT(error.size(), error.find('\n') + 1) << "the system's reason is missing: " << error;
    holder.Reset();
    EXPECT_EQ(bytes, ReadBytes(Ini()));
    EXPECT_EQ(m_scratch.Path(), settings->GetPartPath());
}

TEST_F(SettingsFileTest, EditSettings_CommittedPathOf300CharactersKeepsFirst259)
{
    WriteSetting(Ini(), "PartPath", m_scratch.Path().c_str());
    auto settings = Open();
    std::string chosen = m_scratch.Path() + "\\" + std::string(300, 'c');
    CFakeEditor editor(1, kIniName);
    editor.Choose(chosen, 0);

    EXPECT_EQ(1, settings->EditSettings(editor));

    EXPECT_EQ(chosen.substr(0, 259), settings->GetPartPath());
    EXPECT_EQ(chosen.substr(0, 259), ReadSetting(Ini(), "PartPath"));
    EXPECT_EQ(kMissing, ReadSetting(Ini(), "Overwrite")) << "a key the user did not change";
}

} // namespace

// Several processes writing and reading the settings at once.
namespace qel::test
{
namespace
{

CHandle StartHammer(const std::string& arguments)
{
    std::string commandLine = "\"" + BinFolder() + "\\settingshammer.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return CHandle();
    CloseHandle(process.hThread);
    return CHandle(process.hProcess);
}

DWORD ExitCodeOf(const CHandle& process)
{
    DWORD code = 99;
    WaitForSingleObject(process.Get(), 120000);
    GetExitCodeProcess(process.Get(), &code);
    return code;
}

class SettingsContentionTest : public testing::Test
{
protected:
    CSettingsFileOverride m_settings{
        "[Options]\r\nPartPath=Q:\\hammer\\start_1\r\nOverwrite=1\r\n"};
};

TEST_F(SettingsContentionTest, TwoWritersAndReaders_EveryReadSeesAWholePair)
{
    CHandle first = StartHammer("a 1000");
    CHandle second = StartHammer("bb 1000");
    ASSERT_TRUE(first.IsValid() && second.IsValid());

    EXPECT_EQ(0u, ExitCodeOf(first)) << "a torn pair";
    EXPECT_EQ(0u, ExitCodeOf(second)) << "a torn pair";
}

TEST_F(SettingsContentionTest, HolderHangingThenKilled_DoesNotStopTheReaders)
{
    CHandle holder = StartHammer("hold 60000"); // ends, abandoning the mutex, after a minute
    ASSERT_TRUE(holder.IsValid());
    struct CEndHolder // the holder never outlives the test, whatever fails
    {
        HANDLE process;
        ~CEndHolder() { TerminateProcess(process, 1); }
    } endHolder{holder.Get()};
    CHandle mutex(CreateMutexA(nullptr, FALSE, "QelSW99_3D.ini"));
    auto heldByAnother = [&]
    {
        if (WaitForSingleObject(mutex.Get(), 0) == WAIT_TIMEOUT)
            return true;
        ReleaseMutex(mutex.Get()); // free: give it back for the holder
        return false;
    };
    ASSERT_TRUE(CDialogDriver::WaitFor(heldByAnother, 10000)) << "the holder never took the mutex";

    // While it hangs, a read answers the messages sent to its thread and goes
    // on without the mutex past the bound.
    CWindow window(
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    std::atomic<bool> reading{true};
    int answered = 0;
    std::thread sender(
        [&]
        {
            for (DWORD_PTR result = 0; reading;)
                answered += SendMessageTimeoutA(window.Get(), WM_NULL, 0, 0, 0, 200, &result);
        });
    {
        CSettingsFile settings("QelSW99_3D.ini");
        reading = false;
        sender.join();
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(holder.Get(), 0)) << "waited for the holder";
        EXPECT_GT(answered, 0) << "no sent message was answered while waiting";
        EXPECT_NE(std::string::npos, settings.GetMutexNote().find("held it"));
    }
    TerminateProcess(holder.Get(), 1);
    WaitForSingleObject(holder.Get(), 10000);

    CSettingsFile settings("QelSW99_3D.ini"); // waits for the abandoned mutex, then reads

    EXPECT_STREQ("Q:\\hammer\\start_1", settings.GetPartPath());
}

TEST_F(SettingsContentionTest, MutexWithoutFullAccess_IsOpenedForWaiting)
{
    // Made as by a process of another integrity level: others may wait on it
    // and release it, nothing more.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:(A;;0x100001;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
    CHandle restricted(CreateMutexA(&attributes, FALSE, "QelSW99_3D.ini"));
    LocalFree(descriptor);
    ASSERT_TRUE(restricted.IsValid());
    CHandle full(CreateMutexA(nullptr, FALSE, "QelSW99_3D.ini"));
    if (full.IsValid())
        GTEST_SKIP() << "this system grants full access despite the descriptor";

    CSettingsFile settings("QelSW99_3D.ini");

    EXPECT_STREQ("Q:\\hammer\\start_1", settings.GetPartPath());
}

} // namespace
} // namespace qel::test
