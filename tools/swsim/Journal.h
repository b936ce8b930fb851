// The journal: one line per dispatch call on the application, document and
// view objects, in call order. Its length is also the call counter that the
// fail-call option refers to.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace swsim
{

class CJournal
{
public:
    // Number of calls recorded since start or the last clear.
    long Count() const { return static_cast<long>(m_lines.size()); }
    // The lines joined with "\n" (no line break after the last).
    std::wstring Text() const;

    void Add(std::wstring line) { m_lines.push_back(std::move(line)); }
    void Clear() { m_lines.clear(); }

private:
    std::vector<std::wstring> m_lines;
};

} // namespace swsim
