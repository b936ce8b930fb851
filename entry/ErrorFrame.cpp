#include "entry/ErrorFrame.h"

#include <cstring>
#include <utility>

#include "common/AnsiPath.h"

namespace qel
{

ErrorText DescribeUnexpectedFailure(const char* what)
{
    try
    {
        std::string text = "Unexpected error";
        if (what != nullptr && *what != '\0')
            text.append(": ").append(what);
        text.append(" !");
        return CErrorMessage::Keep(std::move(text));
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
