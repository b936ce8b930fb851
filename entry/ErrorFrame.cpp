#include "entry/ErrorFrame.h"

#include <cstring>

#include "common/AnsiPath.h"

namespace qel
{

ErrorText DescribeUnexpectedFailure(const char* what)
{
    static std::string s_text;
    try
    {
        s_text = "Unexpected error";
        if (what != nullptr && *what != '\0')
            s_text.append(": ").append(what);
        s_text.append(" !");
        return s_text.c_str();
    }
    catch (...)
    {
        return kNotEnoughMemory;
    }
}

void CopyErrorText(char* buffer, unsigned size, const char* text)
{
    if (buffer == nullptr || size == 0)
        return;
    std::strncpy(buffer, text != nullptr ? text : "", size);
    // A text cut at the buffer's size loses a two-byte character whole.
    buffer[WholeCharactersLength(buffer, size - 1)] = '\0';
}

} // namespace qel
