#include "AutomationCaller.h"

namespace swsimtest
{
namespace
{

VARIANT Typed(VARTYPE type)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = type;
    return value;
}

} // namespace

CArgs::~CArgs()
{
    for (VARIANT& value : m_values)
    {
        VariantClear(&value); // a byref I4 owns nothing
    }
}

CArgs& CArgs::Add(const VARIANT& value)
{
    m_values.push_back(value);
    return *this;
}

CArgs& CArgs::Text(const std::wstring& text)
{
    VARIANT value = Typed(VT_BSTR);
    value.bstrVal = swsim::CBstr(text).Detach();
    return Add(value);
}

CArgs& CArgs::NullText()
{
    VARIANT value = Typed(VT_BSTR);
    value.bstrVal = nullptr;
    return Add(value);
}

CArgs& CArgs::Int(long number)
{
    VARIANT value = Typed(VT_I4);
    value.lVal = number;
    return Add(value);
}

CArgs& CArgs::Short(short number)
{
    VARIANT value = Typed(VT_I2);
    value.iVal = number;
    return Add(value);
}

CArgs& CArgs::Bool(bool flag)
{
    VARIANT value = Typed(VT_BOOL);
    value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return Add(value);
}

CArgs& CArgs::IntOut(long* target)
{
    VARIANT value = Typed(VT_BYREF | VT_I4);
    value.plVal = target;
    return Add(value);
}

ComPtr<IDispatch> CallOutcome::Object() const
{
    const VARIANT& value = result->Value();
    return value.vt == VT_DISPATCH ? ComPtr<IDispatch>(value.pdispVal) : nullptr;
}

std::wstring CallOutcome::Text() const
{
    const VARIANT& value = result->Value();
    return value.vt == VT_BSTR && value.bstrVal ? value.bstrVal : L"";
}

long CallOutcome::Int() const
{
    return Type() == VT_I4 ? result->Value().lVal : -1;
}

bool CallOutcome::Bool() const
{
    return Type() == VT_BOOL && result->Value().boolVal != VARIANT_FALSE;
}

CallOutcome InvokeRaw(IDispatch* object, DISPID id, WORD flags, const CArgs& args, bool named)
{
    std::vector<VARIANT> rgvarg = args.Reversed();
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = rgvarg.empty() ? nullptr : rgvarg.data();
    params.cArgs = static_cast<UINT>(rgvarg.size());
    if (named)
    {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    CallOutcome outcome;
    EXCEPINFO exception{};
    outcome.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                outcome.result->Receive(), &exception, &outcome.argErr);
    if (exception.bstrDescription)
    {
        outcome.description = exception.bstrDescription;
    }
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return outcome;
}

CallOutcome Method(IDispatch* object, DISPID id, const CArgs& args)
{
    return InvokeRaw(object, id, DISPATCH_METHOD, args, false);
}

CallOutcome Get(IDispatch* object, DISPID id)
{
    return InvokeRaw(object, id, DISPATCH_PROPERTYGET, CArgs(), false);
}

CallOutcome Put(IDispatch* object, DISPID id, const CArgs& value)
{
    return InvokeRaw(object, id, DISPATCH_PROPERTYPUT, value, true);
}

} // namespace swsimtest
