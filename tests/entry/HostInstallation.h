// A catalogue program's folder for one test: qelhost.exe, the plug-in and the
// chosen stand-ins of the maker's libraries, copied from the build's bin folder
// into a fresh folder. Runs qelhost there and captures what it prints.
#pragma once

#include <string>
#include <vector>

#include "tests/support/ScratchFolder.h"
#include "tests/support/TestFiles.h"

namespace qel::test
{

struct HostRun
{
    unsigned long exitCode = 0;
    std::string output; // stdout and stderr, CR LF turned into LF
};

class CHostInstallation
{
public:
    // files: paths relative to the bin folder (e.g. "QelMain.dll" or
    // "variants/qelmain-no-gethwnd/QelMain.dll"); each lands under its file name.
    explicit CHostInstallation(const std::vector<std::string>& files);
    CHostInstallation(const CHostInstallation&) = delete;
    CHostInstallation& operator=(const CHostInstallation&) = delete;

    const std::string& Folder() const { return m_folder.Path(); }
    std::string PathOf(const std::string& fileName) const { return m_folder.PathOf(fileName); }

    // Runs qelhost.exe with the arguments (each quoted) in workingDirectory (its
    // own folder when empty) and waits for it.
    HostRun Run(const std::vector<std::string>& arguments,
                const std::string& workingDirectory = std::string()) const;

private:
    CScratchFolder m_folder{"host"};
};

// The value printed on the line "key: value" of a qelhost run ("" if none).
std::string OutputField(const std::string& output, const std::string& key);

} // namespace qel::test
