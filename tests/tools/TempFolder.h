// A fresh folder under the temporary directory for one test; the files in it
// and the folder itself are deleted when the owner goes.
#pragma once

#include <string>

namespace qel::test
{

class CTempFolder
{
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // The folder with a trailing backslash.
    const std::string& Path() const { return m_path; }
    // Path() + name.
    std::string File(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

} // namespace qel::test
