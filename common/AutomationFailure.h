// The exception a failing automation call raises. It carries the message text
// that the server gave (the description of its exception) or the platform's
// text for the failure code.
#pragma once

#include <exception>
#include <string>

#include <windows.h>

namespace qel
{

class CAutomationFailure : public std::exception
{
public:
    CAutomationFailure(HRESULT result, std::string text);

    HRESULT Result() const { return m_result; }
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    HRESULT m_result;
    std::string m_text;
};

// The platform's text for a failure code (without trailing line breaks), or
// "Automation error 0x...." when it has none.
std::string DescribeFailureCode(HRESULT result);

} // namespace qel
