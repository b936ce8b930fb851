// A fresh, empty folder under the temporary directory (in long-name form) for
// one test, removed with everything in it when the owner goes.
#pragma once

#include <string>

namespace qel::test
{

class CScratchFolder
{
public:
    // name: a word that says whose folder it is, part of the folder's name.
    explicit CScratchFolder(const std::string& name = "scratch");
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    ~CScratchFolder();

    // The folder, without a trailing separator.
    const std::string& Path() const { return m_path; }
    // Path() + "\" + relative.
    std::string PathOf(const std::string& relative) const { return m_path + "\\" + relative; }
    // Creates PathOf(relative), one level, and returns its path.
    std::string MakeDir(const std::string& relative) const;

private:
    std::string m_path;
};

} // namespace qel::test
