#include "common/DispatchTrace.h"

#include <cstdio>
#include <string>

#include "common/Trace.h"

namespace qel
{

namespace
{

const char* KindName(DispatchKind kind)
{
    switch (kind)
    {
    case DispatchKind::PropertyGet:
        return "get";
    case DispatchKind::PropertyPut:
        return "put";
    case DispatchKind::Method:
        break;
    }
    return "method";
}

std::string Describe(const VARIANT& value)
{
    switch (value.vt)
    {
    case VT_EMPTY:
        return "none";
    case VT_BSTR:
        return "\"" + NarrowText(value.bstrVal) + "\"";
    case VT_I4:
        return std::to_string(value.lVal);
    case VT_I4 | VT_BYREF:
        return value.plVal != nullptr ? "&" + std::to_string(*value.plVal) : "&null";
    case VT_BOOL:
        return value.boolVal != VARIANT_FALSE ? "true" : "false";
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return value.punkVal != nullptr ? "object" : "nothing";
    default:
        return "type " + std::to_string(value.vt);
    }
}

std::string DescribeArguments(std::initializer_list<const CVariant*> args)
{
    std::string text = "(";
    for (const CVariant* arg : args)
    {
        if (text.size() > 1)
            text += ", ";
        text += Describe(arg->Value());
    }
    return text + ")";
}

} // namespace

void TraceDispatchCall(DispatchId id, DispatchKind kind,
                       std::initializer_list<const CVariant*> args, const VARIANT* answer,
                       const CAutomationFailure* failure, DWORD milliseconds) noexcept
{
    try
    {
        char code[16] = "";
        if (failure != nullptr)
            std::snprintf(code, sizeof code, "0x%08lX",
                          static_cast<unsigned long>(failure->Result()));
        const std::string outcome =
            answer != nullptr    ? Describe(*answer)
            : failure != nullptr ? std::string("FAIL ") + code + " \"" + failure->what() + "\""
                                 : std::string("none");
        CTrace::Line("call 0x%lX %s %s %s -> %s (%lu ms)", static_cast<unsigned long>(id.id),
                     KindName(kind), id.name, DescribeArguments(args).c_str(), outcome.c_str(),
                     milliseconds);
    }
    catch (...)
    {
        // out of memory: the call goes untraced, its outcome stays
    }
}

void TraceRejectedCall(DispatchId id, HRESULT result, DWORD milliseconds) noexcept
{
    CTrace::Line("call 0x%lX %s rejected by the busy server (0x%08lX) after %lu ms",
                 static_cast<unsigned long>(id.id), id.name, static_cast<unsigned long>(result),
                 milliseconds);
}

} // namespace qel
