// The three kinds of automation objects the simulator hands out.
#pragma once

#include <optional>
#include <string>

namespace swsim
{

enum class ObjectKind
{
    App,
    Doc,
    View,
};

inline std::optional<ObjectKind> ObjectKindFromName(const std::wstring& name)
{
    if (name == L"app")
    {
        return ObjectKind::App;
    }
    if (name == L"doc")
    {
        return ObjectKind::Doc;
    }
    if (name == L"view")
    {
        return ObjectKind::View;
    }
    return std::nullopt;
}

} // namespace swsim
