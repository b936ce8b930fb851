// Gives the plug-in's settings file (QelSW99_3D.ini in the Windows directory)
// a content for one test and puts back what was there before.
#pragma once

#include <string>

namespace qel::test
{

class CSettingsFileOverride
{
public:
    explicit CSettingsFileOverride(const std::string& content);
    CSettingsFileOverride(const CSettingsFileOverride&) = delete;
    CSettingsFileOverride& operator=(const CSettingsFileOverride&) = delete;
    ~CSettingsFileOverride();

    static std::string Path();

private:
    bool m_existed;
    std::string m_previous;
};

} // namespace qel::test
