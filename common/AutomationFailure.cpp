#include "common/AutomationFailure.h"

#include <cstdio>
#include <utility>

namespace qel
{

CAutomationFailure::CAutomationFailure(HRESULT result, std::string text)
    : m_result(result), m_text(std::move(text))
{
}

std::string DescribeFailureCode(HRESULT result)
{
    char text[512] = {};
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(result), 0, text, sizeof(text), nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                          text[length - 1] == ' ' || text[length - 1] == '.'))
        text[--length] = '\0';
    if (length > 0)
        return text;
    std::snprintf(text, sizeof(text), "Automation error 0x%08lX",
                  static_cast<unsigned long>(result));
    return text;
}

} // namespace qel
