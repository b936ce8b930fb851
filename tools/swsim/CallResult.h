// The outcome of one simulated call: a value for the caller's result VARIANT
// (or none), or a failure; with its journal form.
#pragma once

#include <string>

#include <windows.h>
#include <oaidl.h>

namespace swsim
{

class CSimObject;

class CCallResult
{
public:
    static CCallResult None() { return CCallResult(Type::None); }
    static CCallResult Empty() { return CCallResult(Type::Empty); }
    static CCallResult Text(std::wstring text);
    static CCallResult Int(long value);
    static CCallResult Bool(bool value);
    // The object (borrowed here) is handed to the caller with a reference of its own.
    static CCallResult Object(CSimObject& object);
    // A failure with a description (DISP_E_EXCEPTION).
    static CCallResult Fault(std::wstring description);
    // A failure given by its HRESULT alone.
    static CCallResult Error(HRESULT error);
    // A planned answer: "empty" (VT_EMPTY), "null" (VT_NULL), else that text.
    static CCallResult Answer(const std::wstring& value);

    bool Succeeded() const { return m_type != Type::Fault && m_type != Type::Error; }

    // "\"text\"", "42", "true", "doc#1", "empty", "none", "FAIL \"text\"" or
    // "FAIL 0x80020004".
    std::wstring JournalText() const;

    // Fills the caller's result and exception record; returns the HRESULT of
    // the call. emptyAsVariantEmpty: an empty object result is VT_EMPTY rather
    // than a null VT_DISPATCH.
    HRESULT Deliver(VARIANT* result, EXCEPINFO* exception, bool emptyAsVariantEmpty) const;

private:
    enum class Type
    {
        None,
        Empty,
        Text,
        Int,
        Bool,
        Object,
        VariantEmpty,
        Null,
        Fault,
        Error,
    };

    explicit CCallResult(Type type) : m_type(type) {}

    Type m_type;
    std::wstring m_text;
    long m_value = 0;
    CSimObject* m_object = nullptr;
};

} // namespace swsim
