// settingshammer.exe: writes and reads the plug-in's settings in a loop, as
// many host processes do at once, and checks that every read sees a pair
// that one writer wrote whole. Test equipment of the settings tests.
//   settingshammer ID CYCLES   exit 0: every pair whole; 1: a torn pair
//   settingshammer hold [MS]   takes the settings mutex and keeps it until killed
//                              (or ends after MS milliseconds, abandoning it)
#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

#include "settings/SettingsFile.h"

namespace
{

constexpr const char* kSettingsFile = "QelSW99_3D.ini";

// Commits the other pair, as the options dialog commits the user's choice.
// A pair's path follows from its flag, so that a writer either finds the pair
// it started with and changes both keys, or finds the other writer's and
// leaves both alone: whatever one writer wrote is always whole.
class CPairEditor : public qel::CSettingsFile::IEditor
{
public:
    void SetPartPath(const char*) override {}
    void SetOverwrite(BOOL overwrite) override
    {
        m_overwrite = !overwrite;
        m_path = std::string("Q:\\hammer\\pair_") + (m_overwrite ? "1" : "0");
    }
    INT_PTR DoModal() override { return IDOK; }
    const char* GetPartPath() const override { return m_path.c_str(); }
    BOOL GetOverwrite() const override { return m_overwrite; }
    void TellKept(const std::string&) override {} // the other writer's pair, kept whole

private:
    std::string m_path;
    BOOL m_overwrite = 0;
};

int Hold(DWORD milliseconds)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kSettingsFile);
    WaitForSingleObject(mutex, INFINITE);
    std::puts("held");
    std::fflush(stdout);
    Sleep(milliseconds);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::string(argv[1]) == "hold")
        return Hold(argc == 3 ? std::strtoul(argv[2], nullptr, 10) : INFINITE);
    if (argc != 3)
        return 2;
    const int cycles = std::atoi(argv[2]);
    for (int cycle = 0; cycle < cycles; ++cycle)
    {
        // The flag is written twice: as Overwrite and as the path's last
        // character. A reader that sees them differ saw a write half done.
        {
            qel::CSettingsFile settings(kSettingsFile);
            CPairEditor editor;
            settings.EditSettings(editor);
        }
        qel::CSettingsFile reader(kSettingsFile);
        const std::string read = reader.GetPartPath();
        if (read.rfind("Q:\\hammer\\", 0) != 0 ||
            read.back() != (reader.GetOverwrite() ? '1' : '0'))
        {
            std::printf("torn pair: %s / %d\n", read.c_str(), reader.GetOverwrite());
            return 1;
        }
    }
    return 0;
}
