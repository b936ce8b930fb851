#include "tools/swsim/Journal.h"

namespace swsim
{

std::wstring CJournal::Text() const
{
    std::wstring text;
    for (const std::wstring& line : m_lines)
    {
        if (&line != &m_lines.front())
        {
            text += L'\n';
        }
        text += line;
    }
    return text;
}

} // namespace swsim
