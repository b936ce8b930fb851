#include "common/StringTable.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace qel
{

namespace
{
HINSTANCE g_resourceModule = nullptr;
}

HINSTANCE ResourceModule()
{
    return g_resourceModule != nullptr ? g_resourceModule : GetModuleHandleA(nullptr);
}

void SetResourceModule(HINSTANCE module)
{
    g_resourceModule = module;
}

std::string LoadMessage(unsigned id)
{
    // LoadStringA cuts at the buffer; grow until the text fits.
    std::vector<char> buffer(256);
    for (;;)
    {
        int length =
            LoadStringA(ResourceModule(), id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0)
            return std::string();
        if (static_cast<std::size_t>(length) < buffer.size() - 1)
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string FormatMessageText(unsigned id, ...)
{
    std::string format = LoadMessage(id);
    va_list args;
    va_start(args, id);
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, format.c_str(), measure);
    va_end(measure);
    std::string text;
    if (length > 0)
    {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format.c_str(), args);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

} // namespace qel
