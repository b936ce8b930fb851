// The plug-in's settings: the part directory and the overwrite flag, kept in a
// private profile file (section "Options") in the Windows directory. Every
// access to the file is serialised between processes by a named mutex whose
// name is the settings file name.
#pragma once

#include <windows.h>

#include <string>

#include "common/WinOwners.h"

namespace qel
{

class CSettingsFile
{
public:
    // The plug-in's settings file, in the Windows directory.
    static constexpr const char* kFileName = "QelSW99_3D.ini";
    static constexpr unsigned kDefaultLockWaitSeconds = 30;
    // How long a read or write waits for the named mutex before it goes
    // ahead without it (the holder hangs), and how long a read waits for a
    // settings file that another program keeps from being read before it
    // reports it: the settings bound.
    static constexpr DWORD kMutexWaitMs = 5000;

    // Whether reading the settings makes sure the stored part directory
    // exists: an insertion needs it; the options dialog only shows the path
    // (a mistyped one on a server that is down is neither created nor waited for).
    enum class PartDirectory
    {
        Ensure,
        AsStored,
    };

    // What EditSettings needs of the options dialog: starting values in, a
    // modal run, the committed values out.
    class IEditor
    {
    public:
        // DoModal's result when the editor failed to set itself up.
        static constexpr INT_PTR kSetupFailed = 3;

        virtual ~IEditor() = default;
        virtual void SetPartPath(const char* path) = 0;
        virtual void SetOverwrite(BOOL overwrite) = 0;
        virtual INT_PTR DoModal() = 0;
        virtual const char* GetPartPath() const = 0;
        virtual BOOL GetOverwrite() const = 0;
        // Tells the user which values another writer stored while the
        // editor ran, kept in place of the user's changes (one text, after
        // the editor closed).
        virtual void TellKept(const std::string& text) = 0;
    };

    // Construction

    // Creates the mutex named fileName and reads the settings file of that
    // name in the Windows directory. Throws an error text when the mutex
    // cannot be created, or when the file is there and cannot be read within
    // the settings bound (another program holds it without sharing it): that
    // never reads as "nothing stored".
    explicit CSettingsFile(const char* fileName,
                           PartDirectory partDirectory = PartDirectory::Ensure);
    // The same with the settings file in the given directory instead.
    CSettingsFile(const char* fileName, const char* directory);
    CSettingsFile(const CSettingsFile&) = delete;
    CSettingsFile& operator=(const CSettingsFile&) = delete;
    ~CSettingsFile() = default;

    // Attributes

    // The part directory: as stored with its environment variables
    // (%USERPROFILE%) expanded, or the temporary directory in long form with
    // a trailing separator when none is stored. Valid while the object lives.
    // A stored directory that is no full path (common/AnsiPath.h IsFullPath)
    // is neither created nor made full: the caller refuses it.
    const char* GetPartPath() const { return m_szPartPath; }
    // The part directory as the file holds it ("" when none is stored).
    const char* GetStoredPartPath() const { return m_szStoredPartPath; }
    BOOL GetOverwrite() const { return m_bOverwrite; }
    // How long an insertion waits for another one on the part directory
    // (key LockWaitSeconds, 30 unless stored; at most an hour).
    unsigned GetLockWaitSeconds() const { return m_nLockWaitSeconds; }
    // How long a silent call waits for a SolidWorks call that has not come
    // back (key SolidWorksWaitSeconds; 0, no bound, unless stored; at most an hour).
    unsigned GetSolidWorksWaitSeconds() const { return m_nSolidWorksWaitSeconds; }
    // Full path of the settings file.
    const char* GetIniFile() const { return m_szIniFile; }
    // Why the last read or write went ahead without the mutex's plain
    // protection (held past the bound, left behind by a holder that ended);
    // empty when it had it.
    const std::string& GetMutexNote() const { return m_strMutexNote; }

    // Whether EditSettings wrote anything to the file.
    bool HasWritten() const { return m_bWritten; }

    // Whether the settings file of that name in the Windows directory switches
    // the trace on (key Trace, 0 unless stored). Read without the mutex: a
    // file being written meanwhile reads as off. A file that another program
    // keeps from being read is waited for within the settings bound.
    static bool IsTraceOn(const char* fileName = kFileName);

    // Operations

    // (Re)loads the values from the file under the mutex; the stored part
    // directory is made sure of after the mutex is released. Returns 1.
    int ReadSettings();

    // Lets the editor change the values and stores what its committed values
    // changed (by OK or Apply), key by key: a key that another writer changed
    // since the values were read is left as that writer stored it, and the
    // editor tells the user so; a key the file no longer holds is written
    // (the file was deleted meanwhile). Returns 1
    // after the editor ran (nothing is written when nothing changed); 0 when
    // it failed to set itself up (nothing written). A file that cannot be
    // written is left as it was and reported as an error text naming it.
    int EditSettings(IEditor& editor);

    // Makes sure the directory exists, creating every missing level. The
    // current directory is the same afterwards. Returns 1 if the directory
    // exists afterwards, 0 if not.
    int EnsureDirectory(const char* path);

private:
    void CompleteIniFile(const char* fileName);
    void UseTempDirectory();
    // Reads the values under the mutex, without making sure of the part directory.
    void ReadValues();
    // Writes the keys given (null: left as stored); on a failure puts the part
    // directory back as it was and throws the error text.
    void WriteSettings(const char* partPath, const char* overwrite);
    // The stored values as the file holds them now (an empty part directory
    // when none is stored). Called under the mutex.
    void ReadStoredValues(char* partPath, std::size_t size, BOOL* overwrite) const;
    // Writes the keys the editor changed (called under the mutex); returns
    // the text that names the values another writer kept, "" when none.
    std::string WriteChangedKeys(const IEditor& editor);
    // Whether the file holds a non-empty value for the key.
    bool HoldsValue(const char* key) const;
    void NoteMutexWait(DWORD waitResult);
    [[noreturn]] void ThrowNotSaved(DWORD error) const;

    CHandle m_mutex;
    char m_szIniFile[262] = {};
    char m_szPartPath[260] = {};
    BOOL m_bOverwrite = 0;
    unsigned m_nLockWaitSeconds = kDefaultLockWaitSeconds;
    unsigned m_nSolidWorksWaitSeconds = 0;
    PartDirectory m_partDirectory = PartDirectory::Ensure;
    // The part directory and flag as the file held them when last read.
    char m_szStoredPartPath[260] = {};
    BOOL m_bStoredOverwrite = 0;
    std::string m_strMutexNote;
    bool m_bWritten = false;
};

} // namespace qel
