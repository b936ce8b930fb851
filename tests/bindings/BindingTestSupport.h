// Equipment of the binding tests on Windows: temporary folders, the stand-in
// libraries' journal, the library search folders of a test, and the texts the
// bindings throw.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bindings/LibraryBinding.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestFiles.h"

namespace qel::test
{

// <build>/bin/variants/<variant>, where the faulty stand-ins live.
std::string VariantFolder(const char* variant);
// True when the system's default language is German (primary language 7).
bool SystemIsGerman();

// Copies a file; fails the current test when that is not possible.
void CopyFileOrFail(const std::string& from, const std::string& to);

// The bindings look for libraries in the host program's folder, the folder of
// the code (this program too) and the system folder. A test that needs other
// libraries there runs again in a copy of this program, in a fresh folder
// holding only files (full paths, each under its own file name): true in that
// copy, where the test's body runs; false here, once the copy has passed.
bool RunsLaidOutWith(const std::vector<std::string>& files);
// The build's bin folder, also from a laid-out copy.
std::string BuildBinFolder();

// The journal the stand-in libraries write while the object lives.
class CStandinJournal
{
public:
    CStandinJournal();
    CStandinJournal(const CStandinJournal&) = delete;
    CStandinJournal& operator=(const CStandinJournal&) = delete;
    ~CStandinJournal();

    std::vector<std::string> Lines() const;
    // The lines written from line index first on.
    std::vector<std::string> LinesFrom(std::size_t first) const;
    std::size_t Count(const std::string& line) const;

private:
    CScratchFolder m_folder;
    std::string m_file;
};

// Runs action and returns the error text it throws, or "(no error)".
std::string ErrorTextOf(const std::function<void()>& action);
// The error text of binding.Load(), or "(no error)".
std::string LoadError(CLibraryBinding& binding);

// True when a module of this file name is loaded in the process.
bool IsModuleLoaded(const char* fileName);

} // namespace qel::test
