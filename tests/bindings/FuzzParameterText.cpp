// Feeds arbitrary parameter texts to the call context. Besides the sanitizers'
// checks it holds one invariant: a rendered text parses back to the very same
// values (and ShowMessages flag) whenever no value contains the item separator.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bindings/CallContext.h"

namespace
{

bool AnyValueContainsBar(const qel::CCallContext& context)
{
    for (unsigned i = 0; i < context.GetKeyCount(); ++i)
    {
        const char* value = context.GetValue(i);
        if (value != nullptr && std::strchr(value, '|') != nullptr)
            return true;
    }
    return false;
}

bool SameValue(const char* left, const char* right)
{
    if (left == nullptr || right == nullptr)
        return left == right;
    return std::strcmp(left, right) == 0;
}

[[noreturn]] void Fail(const char* what, const std::string& rendered)
{
    std::fprintf(stderr, "round trip broken (%s) for rendered text \"%s\"\n", what,
                 rendered.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    qel::CCallContext first;
    first.SetText(text.c_str());
    if (AnyValueContainsBar(first))
        return 0;

    const char* rendered = first.RenderText();
    if (rendered == nullptr)
        Fail("no rendered text", std::string());
    const std::string renderedCopy(rendered);

    qel::CCallContext second;
    if (second.SetText(renderedCopy.c_str()) != 1)
        Fail("parse result", renderedCopy);
    for (unsigned i = 0; i < first.GetKeyCount(); ++i)
    {
        if (!SameValue(first.GetValue(i), second.GetValue(i)))
            Fail(first.GetKey(i), renderedCopy);
    }
    if (first.GetShowMessages() != second.GetShowMessages())
        Fail("ShowMessages flag", renderedCopy);
    if (!SameValue(second.RenderText(), renderedCopy.c_str()))
        Fail("second rendering", renderedCopy);
    return 0;
}
