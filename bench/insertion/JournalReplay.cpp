#include "bench/insertion/JournalReplay.h"

#include <cstdlib>
#include <stdexcept>

#include "tools/swsim/TextConversion.h"

namespace
{
using Microsoft::WRL::ComPtr;
} // namespace

CJournalReplay::CJournalReplay(const std::vector<std::string>& journal)
{
    for (const std::string& line : journal)
        m_calls.push_back(ParseLine(line));
}

// "<target> <0xID> <method|get|put> (<arguments>) -> <result>"
CJournalReplay::Call CJournalReplay::ParseLine(const std::string& line)
{
    Call call;
    const std::size_t firstBlank = line.find(' ');
    const std::size_t secondBlank = line.find(' ', firstBlank + 1);
    const std::size_t open = line.find(" (", secondBlank);
    const std::size_t arrow = line.rfind(") -> ");
    if (open == std::string::npos || arrow == std::string::npos || arrow < open)
        throw std::runtime_error("unreadable journal line: " + line);
    call.target = line.substr(0, firstBlank);
    call.id = static_cast<DISPID>(std::strtoul(line.c_str() + firstBlank + 1, nullptr, 16));
    const std::string kind = line.substr(secondBlank + 1, open - secondBlank - 1);
    call.flags = kind == "get"   ? DISPATCH_PROPERTYGET
                 : kind == "put" ? DISPATCH_PROPERTYPUT
                                 : DISPATCH_METHOD;
    call.result = line.substr(arrow + 5);
    const std::string arguments = line.substr(open + 2, arrow - open - 2);
    for (std::size_t at = 0; at < arguments.size();)
    {
        Argument argument;
        std::size_t end;
        if (arguments[at] == '"')
        {
            end = arguments.find("\", ", at + 1);
            end = end == std::string::npos ? arguments.size() - 1 : end;
            argument.kind = Argument::Kind::Text;
            argument.text = arguments.substr(at + 1, end - at - 1);
            end += 1;
        }
        else
        {
            end = arguments.find(", ", at);
            end = end == std::string::npos ? arguments.size() : end;
            const std::string token = arguments.substr(at, end - at);
            argument.kind = token == "true" || token == "false" ? Argument::Kind::Bool
                            : token[0] == '&'                   ? Argument::Kind::LongRef
                                                                : Argument::Kind::Long;
            argument.value = token == "true" ? 1 : std::atol(token.c_str() + (token[0] == '&'));
        }
        call.arguments.push_back(argument);
        at = end + 2;
    }
    return call;
}

bool CJournalReplay::Run(IDispatch* application) const
{
    std::map<std::string, ComPtr<IDispatch>> objects = {{"app", application}};
    for (const Call& call : m_calls)
    {
        const auto target = objects.find(call.target);
        if (target == objects.end())
            return false;
        std::vector<VARIANT> arguments(call.arguments.size());
        std::vector<long> outs(call.arguments.size());
        for (std::size_t i = 0; i < call.arguments.size(); ++i)
        {
            const Argument& argument = call.arguments[i];
            VARIANT& value = arguments[call.arguments.size() - 1 - i]; // reversed
            VariantInit(&value);
            switch (argument.kind)
            {
            case Argument::Kind::Text:
                value.vt = VT_BSTR;
                value.bstrVal = SysAllocString(swsim::WideFromUtf8(argument.text).c_str());
                break;
            case Argument::Kind::Long:
                value.vt = VT_I4;
                value.lVal = argument.value;
                break;
            case Argument::Kind::Bool:
                value.vt = VT_BOOL;
                value.boolVal = argument.value ? VARIANT_TRUE : VARIANT_FALSE;
                break;
            case Argument::Kind::LongRef:
                outs[i] = argument.value;
                value.vt = VT_BYREF | VT_I4;
                value.plVal = &outs[i];
                break;
            }
        }
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS parameters = {
            arguments.data(), call.flags == DISPATCH_PROPERTYPUT ? &put : nullptr,
            static_cast<UINT>(arguments.size()), call.flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
        VARIANT result;
        VariantInit(&result);
        const HRESULT hr =
            target->second->Invoke(call.id, IID_NULL, LOCALE_USER_DEFAULT, call.flags, &parameters,
                                   call.result == "none" ? nullptr : &result, nullptr, nullptr);
        for (VARIANT& value : arguments)
            VariantClear(&value);
        if (FAILED(hr))
            return false;
        if (result.vt == VT_DISPATCH && result.pdispVal != nullptr)
            objects[call.result] = result.pdispVal;
        VariantClear(&result);
    }
    return true;
}
