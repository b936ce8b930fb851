// A fresh directory under the temporary directory, in long-name form, removed
// with everything in it when the object goes.
#pragma once

#include <string>

class CScratchDirectory
{
public:
    CScratchDirectory();
    CScratchDirectory(const CScratchDirectory&) = delete;
    CScratchDirectory& operator=(const CScratchDirectory&) = delete;
    ~CScratchDirectory();

    // Full path without a trailing separator.
    const std::string& Path() const { return m_path; }
    // Path() + "\\" + relative.
    std::string Sub(const std::string& relative) const;
    // Creates Sub(relative), one level, and returns its path.
    std::string MakeDir(const std::string& relative) const;

private:
    std::string m_path;
};
