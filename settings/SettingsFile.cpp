#include "settings/SettingsFile.h"

#include <cstring>
#include <string>

#include "common/AnsiPath.h"
#include "common/AutomationFailure.h"
#include "common/BoundedString.h"
#include "common/ErrorMessage.h"
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
        static CErrorMessage s_error;
        s_error.Throw(std::string("Cannot create the mutex \"") + name + "\" !");
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

} // namespace

CSettingsFile::CSettingsFile(const char* fileName) : m_mutex(CreateSettingsMutex(OrEmpty(fileName)))
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
    CMutexLock lock(m_mutex.Get());

    char value[515];
    GetPrivateProfileStringA(kSection, kPartPathKey, "", value, sizeof value, m_szIniFile);
    if (value[0] != '\0')
    {
        // The stored directory is used as it stands, without a separator added.
        CopyAtMost(m_szPartPath, sizeof m_szPartPath, value, kPathChars);
        EnsureDirectory(m_szPartPath);
    }
    else
    {
        UseTempDirectory();
    }

    GetPrivateProfileStringA(kSection, kOverwriteKey, "0", value, 255, m_szIniFile);
    m_bOverwrite = IsNonZeroNumber(value) ? 1 : 0;
    GetPrivateProfileStringA(kSection, kLockWaitKey, "", value, 255, m_szIniFile);
    m_nLockWaitSeconds = SecondsOf(value, kDefaultLockWaitSeconds, kMostLockWaitSeconds);
    GetPrivateProfileStringA(kSection, kSolidWorksWaitKey, "", value, 255, m_szIniFile);
    m_nSolidWorksWaitSeconds = SecondsOf(value, 0, kMostLockWaitSeconds);
    return 1;
}

void CSettingsFile::UseTempDirectory()
{
    CTempPath tempPath;
    tempPath.GetLongTempDir(m_szPartPath, kTempDirSize);
    // An unresolved temporary directory becomes a single backslash.
    if (!IsPathSeparator(LastCharacter(m_szPartPath)))
        AppendBounded(m_szPartPath, sizeof m_szPartPath, "\\");
}

int CSettingsFile::EditSettings(IEditor& editor)
{
    editor.SetPartPath(m_szPartPath);
    editor.SetOverwrite(m_bOverwrite);
    if (editor.DoModal() == IEditor::kSetupFailed)
        return 0;

    // The committed values are written after OK, Cancel or a failed modal loop alike.
    CMutexLock lock(m_mutex.Get());
    char partPath[kPathBufferSize];
    CopyAtMost(partPath, sizeof partPath, editor.GetPartPath(), kPathChars);
    const BOOL overwrite = editor.GetOverwrite() ? 1 : 0;
    WriteSettings(partPath, overwrite);
    CopyBounded(m_szPartPath, sizeof m_szPartPath, partPath);
    m_bOverwrite = overwrite;
    return 1;
}

void CSettingsFile::WriteSettings(const char* partPath, BOOL overwrite)
{
    // The value before, to put back when the second key cannot be written
    // (a default that no stored value can be marks a missing key).
    constexpr const char* kMissing = "\x01";
    char previous[515];
    GetPrivateProfileStringA(kSection, kPartPathKey, kMissing, previous, sizeof previous,
                             m_szIniFile);
    if (!WritePrivateProfileStringA(kSection, kPartPathKey, partPath, m_szIniFile))
        ThrowNotSaved(GetLastError());
    if (WritePrivateProfileStringA(kSection, kOverwriteKey, overwrite ? "1" : "0", m_szIniFile))
        return;
    const DWORD error = GetLastError();
    const bool wasMissing = std::strcmp(previous, kMissing) == 0;
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
    static CErrorMessage s_message;
    s_message.Throw(FormatMessageText(IDS_SETTINGS_NOT_SAVED, m_szIniFile,
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
