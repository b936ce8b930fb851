// The journal: one line per dispatch call on the application, document and
// view objects, in call order. Its length is also the call counter that the
// options picking a call by number refer to; its count of each dispatch id on
// each kind of object, the one that a call picked by name refers to.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>
#include <oaidl.h>

#include "tools/swsim/ObjectKind.h"

namespace swsim
{

class CJournal
{
public:
    // Number of calls recorded since start or the last clear.
    long Count() const { return static_cast<long>(m_lines.size()); }
    // Number of calls of dispatch id on that kind of object recorded since then.
    long CountOf(ObjectKind object, DISPID id) const
    {
        const auto found = m_counts.find({object, id});
        return found == m_counts.end() ? 0 : found->second;
    }
    // The lines joined with "\n" (no line break after the last).
    std::wstring Text() const;

    void Add(ObjectKind object, DISPID id, std::wstring line)
    {
        m_lines.push_back(std::move(line));
        ++m_counts[{object, id}];
    }
    void Clear()
    {
        m_lines.clear();
        m_counts.clear();
    }

private:
    std::vector<std::wstring> m_lines;
    std::map<std::pair<ObjectKind, DISPID>, long> m_counts;
};

} // namespace swsim
