#include "bindings/LeadingInteger.h"

#include <cstdint>
#include <limits>

namespace qel
{

namespace
{

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

int ReadLeadingInteger(const char* text)
{
    if (text == nullptr)
        return 0;
    while (IsWhiteSpace(*text))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;

    // One beyond the largest magnitude is enough to know that it saturates.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; IsDigit(*text); ++text)
    {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > kLimit)
            magnitude = kLimit;
    }
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

} // namespace qel
