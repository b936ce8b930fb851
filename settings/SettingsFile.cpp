#include "settings/SettingsFile.h"

#include <cstring>
#include <string>

#include "common/AnsiPath.h"
#include "common/AutomationFailure.h"
#include "common/BoundedMutexLock.h"
#include "common/BoundedString.h"
#include "common/ErrorMessage.h"
#include "common/SentMessages.h"
#include "common/StringTable.h"
#include "resources/resource.h"
#include "settings/TempPath.h"

namespace qel
{
namespace
{

constexpr const char* kSection = "Options";
constexpr const char* kPartPathKey = "PartPath";
constexpr const char* kOverwriteKey = "Overwrite";
constexpr const char* kLockWaitKey = "LockWaitSeconds";
constexpr const char* kTraceKey = "Trace";
constexpr unsigned kMostLockWaitSeconds = 3600;
constexpr const char* kSolidWorksWaitKey = "SolidWorksWaitSeconds";
// A path buffer keeps at most this many characters.
constexpr std::size_t kPathChars = kPathBufferSize - 1;
// The default part directory is fetched with room left for a trailing backslash.
constexpr std::size_t kTempDirSize = 258;

const char* OrEmpty(const char* text)
{
    return text != nullptr ? text : "";
}

HANDLE CreateSettingsMutex(const char* name)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    // A mutex made by a process of another integrity level exists but does
    // not grant full access: waiting and releasing are all this one needs.
    if (mutex == nullptr && GetLastError() == ERROR_ACCESS_DENIED)
        mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name);
    if (mutex == nullptr)
    {
        CErrorMessage::Throw(std::string("Cannot create the mutex \"") + name + "\" !");
    }
    return mutex;
}

// Room for the directory in the settings file's path: a backslash, the file
// name and the terminator always fit behind it.
std::size_t DirectorySpace(const char* fileName)
{
    std::size_t nameLength = BoundedLength(fileName, kPathBufferSize);
    return nameLength + 2 < kPathBufferSize ? kPathBufferSize - nameLength - 2 : 1;
}

// The decimal value of text, read as far as it goes (leading blanks, a sign,
// digits): true when it is not zero. No digits read as zero.
bool IsNonZeroNumber(const char* text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    if (*text == '+' || *text == '-')
        ++text;
    for (; *text >= '0' && *text <= '9'; ++text)
    {
        if (*text != '0')
            return true;
    }
    return false;
}

// A count of seconds as stored: leading blanks, then digits, at most `most`.
// A value that is missing, negative or no number at all gives the fallback:
// a stray minus must not turn into an hour's freeze.
unsigned SecondsOf(const char* text, unsigned fallback, unsigned most)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    if (*text < '0' || *text > '9')
        return fallback;
    unsigned long seconds = 0;
    for (; *text >= '0' && *text <= '9' && seconds <= most; ++text)
        seconds = seconds * 10 + static_cast<unsigned long>(*text - '0');
    return seconds > most ? most : static_cast<unsigned>(seconds);
}

// Why the profile functions cannot read the file at path now: a file that
// another program holds without sharing it for reading, or that this user
// may not read, reads as holding nothing. ERROR_SUCCESS when it can be read,
// and when there is no file to read (nothing stored; a folder in its place
// holds nothing either).
DWORD ReadFailure(const char* path)
{
    const CHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.IsValid())
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return ERROR_SUCCESS;
    return error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED;
}

// Waits within the settings bound until the file at path can be read (a
// backup or a virus scanner holds it for a moment), serving the messages sent
// to the thread meanwhile. The last reason when it still cannot be read.
DWORD WaitUntilReadable(const char* path)
{
    constexpr DWORD kRetryMs = 50;
    const DWORD start = GetTickCount();
    for (;;)
    {
        const DWORD failure = ReadFailure(path);
        if (failure == ERROR_SUCCESS || GetTickCount() - start >= CSettingsFile::kMutexWaitMs)
            return failure;
        WaitServingSentMessages(nullptr, kRetryMs);
    }
}

// The stored part directory with its environment variables expanded, as
// deployed settings files write it (%USERPROFILE%\parts), at most 259
// characters like any stored one. A variable that is not set stays as written.
void ExpandVariables(char* partPath, std::size_t size, const char* stored)
{
    // The size told may count a two-byte character once (Wine counts the
    // UTF-16 units): room for two bytes each.
    const DWORD needed = ExpandEnvironmentStringsA(stored, nullptr, 0);
    std::string expanded(2 * std::size_t{needed} + 2, '\0');
    const auto room = static_cast<DWORD>(expanded.size());
    const DWORD length = needed != 0 ? ExpandEnvironmentStringsA(stored, &expanded[0], room) : 0;
    if (length == 0 || length > room)
        expanded = stored;
    CopyAtMost(partPath, size, expanded.c_str(), kPathChars);
}

} // namespace

CSettingsFile::CSettingsFile(const char* fileName, PartDirectory partDirectory)
    : m_mutex(CreateSettingsMutex(OrEmpty(fileName))), m_partDirectory(partDirectory)
{
    std::size_t space = DirectorySpace(OrEmpty(fileName));
    UINT length = GetWindowsDirectoryA(m_szIniFile, static_cast<UINT>(space));
    if (length == 0 || length >= space)
        m_szIniFile[0] = '\0';
    CompleteIniFile(OrEmpty(fileName));
    ReadSettings();
}

CSettingsFile::CSettingsFile(const char* fileName, const char* directory)
    : m_mutex(CreateSettingsMutex(OrEmpty(fileName)))
{
    CopyBounded(m_szIniFile, DirectorySpace(OrEmpty(fileName)), directory);
    CompleteIniFile(OrEmpty(fileName));
    ReadSettings();
}

bool CSettingsFile::IsTraceOn(const char* fileName)
{
    // A bare file name is looked up in the Windows directory.
    char path[kPathBufferSize] = {};
    const std::size_t space = DirectorySpace(OrEmpty(fileName));
    const UINT length = GetWindowsDirectoryA(path, static_cast<UINT>(space));
    if (length != 0 && length < space)
    {
        AppendSeparatorIfMissing(path, sizeof path);
        AppendBounded(path, sizeof path, OrEmpty(fileName));
        WaitUntilReadable(path); // still unreadable: the trace stays off
    }
    return GetPrivateProfileIntA(kSection, kTraceKey, 0, fileName) != 0;
}

void CSettingsFile::CompleteIniFile(const char* fileName)
{
    // Only a backslash counts here: a directory ending in '/' gets one as well.
    // Without a directory the bare name stays, which the profile functions look
    // up in the Windows directory.
    if (m_szIniFile[0] != '\0' && LastCharacter(m_szIniFile) != '\\')
        AppendBounded(m_szIniFile, sizeof m_szIniFile, "\\");
    AppendBounded(m_szIniFile, sizeof m_szIniFile, fileName);
}

int CSettingsFile::ReadSettings()
{
    ReadValues();
    // Outside the mutex: on a share whose server is down each level can wait
    // for the network's time-out, and every other host would wait as well.
    // A directory that is no full path would be made in whatever the
    // current directory is.
    if (m_partDirectory == PartDirectory::Ensure && m_szStoredPartPath[0] != '\0' &&
        IsFullPath(m_szPartPath))
        EnsureDirectory(m_szPartPath);
    return 1;
}

void CSettingsFile::ReadValues()
{
    // Outside the mutex: the holder is another program, and this process's
    // own readers and writers need not wait for it as well.
    const DWORD failure = WaitUntilReadable(m_szIniFile);
    if (failure != ERROR_SUCCESS)
        CErrorMessage::Throw(
            FormatMessageText(IDS_SETTINGS_NOT_READ, m_szIniFile,
                              DescribeFailureCode(static_cast<HRESULT>(failure)).c_str()));
    CBoundedMutexLock lock(m_mutex.Get(), kMutexWaitMs);
    NoteMutexWait(lock.WaitResult());

    ReadStoredValues(m_szStoredPartPath, sizeof m_szStoredPartPath, &m_bStoredOverwrite);
    // The stored directory is used as it stands, without a separator added.
    if (m_szStoredPartPath[0] != '\0')
        ExpandVariables(m_szPartPath, sizeof m_szPartPath, m_szStoredPartPath);
    else
        UseTempDirectory();
    m_bOverwrite = m_bStoredOverwrite;
    char value[256];
    GetPrivateProfileStringA(kSection, kLockWaitKey, "", value, sizeof value, m_szIniFile);
    m_nLockWaitSeconds = SecondsOf(value, kDefaultLockWaitSeconds, kMostLockWaitSeconds);
    GetPrivateProfileStringA(kSection, kSolidWorksWaitKey, "", value, sizeof value, m_szIniFile);
    m_nSolidWorksWaitSeconds = SecondsOf(value, 0, kMostLockWaitSeconds);
}

void CSettingsFile::ReadStoredValues(char* partPath, std::size_t size, BOOL* overwrite) const
{
    char value[515];
    GetPrivateProfileStringA(kSection, kPartPathKey, "", value, sizeof value, m_szIniFile);
    CopyAtMost(partPath, size, value, kPathChars);
    GetPrivateProfileStringA(kSection, kOverwriteKey, "0", value, 255, m_szIniFile);
    *overwrite = IsNonZeroNumber(value) ? 1 : 0;
}

void CSettingsFile::NoteMutexWait(DWORD waitResult)
{
    m_strMutexNote.clear();
    if (waitResult == WAIT_OBJECT_0)
        return;
    const std::string mutex = std::string("the settings mutex of \"") + m_szIniFile + "\"";
    if (waitResult == WAIT_ABANDONED_0)
        m_strMutexNote = "Took " + mutex + ", left behind by a process that ended holding it.";
    else if (waitResult == WAIT_TIMEOUT)
        m_strMutexNote = "Went on without " + mutex + ": another process held it for " +
                         std::to_string(kMutexWaitMs / 1000) + " s.";
    else
        m_strMutexNote = "Went on without " + mutex + ": waiting for it failed (error " +
                         std::to_string(GetLastError()) + ").";
    OutputDebugStringA(("QelSW99_3D: " + m_strMutexNote + "\n").c_str());
}

void CSettingsFile::UseTempDirectory()
{
    CTempPath tempPath;
    tempPath.GetLongTempDir(m_szPartPath, kTempDirSize);
    // Without a temporary directory there is no default part directory: an
    // empty text never becomes the root of the current drive.
    if (m_szPartPath[0] != '\0' && !IsPathSeparator(LastCharacter(m_szPartPath)))
        AppendBounded(m_szPartPath, sizeof m_szPartPath, "\\");
}

int CSettingsFile::EditSettings(IEditor& editor)
{
    editor.SetPartPath(m_szPartPath);
    editor.SetOverwrite(m_bOverwrite);
    if (editor.DoModal() == IEditor::kSetupFailed)
        return 0;

    // After OK, Cancel or a failed modal loop alike: what OK or Apply
    // committed differs from the starting values; Cancel alone commits nothing.
    std::string kept;
    {
        CBoundedMutexLock lock(m_mutex.Get(), kMutexWaitMs);
        NoteMutexWait(lock.WaitResult());
        kept = WriteChangedKeys(editor);
    }
    // Told once the mutex is given back: the box waits for the user.
    if (!kept.empty())
        editor.TellKept(kept);
    return 1;
}

std::string CSettingsFile::WriteChangedKeys(const IEditor& editor)
{
    char partPath[kPathBufferSize];
    CopyAtMost(partPath, sizeof partPath, editor.GetPartPath(), kPathChars);
    const BOOL overwrite = editor.GetOverwrite() ? 1 : 0;
    // A key that another host or an administrator stored meanwhile stays
    // theirs; one the file no longer holds (deleted meanwhile) takes the change.
    char storedPath[kPathBufferSize];
    BOOL storedOverwrite = 0;
    ReadStoredValues(storedPath, sizeof storedPath, &storedOverwrite);
    const bool pathChanged = std::strcmp(partPath, m_szPartPath) != 0;
    const bool pathTaken =
        pathChanged && storedPath[0] != '\0' && std::strcmp(storedPath, m_szStoredPartPath) != 0;
    const bool overwriteChanged = overwrite != m_bOverwrite;
    const bool overwriteTaken =
        overwriteChanged && storedOverwrite != m_bStoredOverwrite && HoldsValue(kOverwriteKey);
    const bool writePath = pathChanged && !pathTaken;
    const bool writeOverwrite = overwriteChanged && !overwriteTaken;
    WriteSettings(writePath ? partPath : nullptr,
                  writeOverwrite ? (overwrite ? "1" : "0") : nullptr);
    m_bWritten = writePath || writeOverwrite;
    if (writePath)
        CopyBounded(m_szPartPath, sizeof m_szPartPath, partPath);
    if (writeOverwrite)
        m_bOverwrite = overwrite;
    std::string kept;
    if (pathTaken)
        kept = FormatMessageText(IDS_OTHER_SETTING_KEPT, kPartPathKey, storedPath);
    if (overwriteTaken)
        kept +=
            (kept.empty() ? "" : "\n") +
            FormatMessageText(IDS_OTHER_SETTING_KEPT, kOverwriteKey, storedOverwrite ? "1" : "0");
    return kept;
}

bool CSettingsFile::HoldsValue(const char* key) const
{
    // A default that no stored value can be marks a missing key.
    char value[4];
    GetPrivateProfileStringA(kSection, key, "\x01", value, sizeof value, m_szIniFile);
    return value[0] != '\x01' && value[0] != '\0';
}

void CSettingsFile::WriteSettings(const char* partPath, const char* overwrite)
{
    // The value before, to put back when the second key cannot be written
    // (a default that no stored value can be marks a missing key).
    constexpr const char* kMissing = "\x01";
    char previous[515];
    GetPrivateProfileStringA(kSection, kPartPathKey, kMissing, previous, sizeof previous,
                             m_szIniFile);
    if (partPath != nullptr &&
        !WritePrivateProfileStringA(kSection, kPartPathKey, partPath, m_szIniFile))
        ThrowNotSaved(GetLastError());
    if (overwrite == nullptr ||
        WritePrivateProfileStringA(kSection, kOverwriteKey, overwrite, m_szIniFile))
        return;
    const DWORD error = GetLastError();
    const bool wasMissing = std::strcmp(previous, kMissing) == 0;
    if (partPath != nullptr)
        WritePrivateProfileStringA(kSection, kPartPathKey, wasMissing ? nullptr : previous,
                                   m_szIniFile); // best effort: the report follows either way
    ThrowNotSaved(error);
}

void CSettingsFile::ThrowNotSaved(DWORD error) const
{
    // The profile functions do not always leave a reason behind (Wine's, for
    // a file another program holds); "completed successfully" would mislead.
    if (error == ERROR_SUCCESS)
        error = ERROR_WRITE_FAULT;
    CErrorMessage::Throw(
        FormatMessageText(IDS_SETTINGS_NOT_SAVED, m_szIniFile,
                          DescribeFailureCode(static_cast<HRESULT>(error)).c_str()));
}

int CSettingsFile::EnsureDirectory(const char* path)
{
    if (path == nullptr)
        return 0;
    if (CreateDirectoryA(path, nullptr))
        return 1;

    CCurrentDirectory restore;
    if (SetCurrentDirectoryA(path))
        return 1;

    // Create every level in turn; failures are expected for the levels that
    // exist and for a bare drive or empty prefix.
    char work[kPathBufferSize];
    CopyBounded(work, sizeof work, path);
    for (std::size_t i = FindSeparator(work, 0); work[i] != '\0'; i = FindSeparator(work, i + 1))
    {
        char separator = work[i];
        work[i] = '\0';
        CreateDirectoryA(work, nullptr);
        work[i] = separator;
    }
    if (work[0] != '\0' && !IsPathSeparator(LastCharacter(work)))
        CreateDirectoryA(work, nullptr);

    return SetCurrentDirectoryA(path) ? 1 : 0;
}

} // namespace qel
