#include "tools/swsim/SimOptions.h"

#include <cwchar>
#include <stdexcept>

#include "tools/swsim/OptionText.h"
#include "tools/swsim/TextConversion.h"

namespace swsim
{
namespace
{

[[noreturn]] void Reject(const std::wstring& key, const std::wstring& value, const char* why)
{
    throw std::invalid_argument(Utf8FromWide(key) + "=" + Utf8FromWide(value) + ": " + why);
}

// A whole number, decimal or with 0x as hexadecimal; nothing may follow it.
std::optional<long> ParseNumber(const std::wstring& text)
{
    if (text.empty())
    {
        return std::nullopt;
    }
    const bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    if (*end != L'\0' || text[hex ? 2 : 0] == L'-' || text[hex ? 2 : 0] == L'+')
    {
        return std::nullopt;
    }
    return static_cast<long>(value);
}

bool ParseFlag(const std::wstring& key, const std::wstring& value)
{
    if (value == L"0" || value == L"1")
    {
        return value == L"1";
    }
    Reject(key, value, "expected 0 or 1");
}

long ParseDocumentType(const std::wstring& key, const std::wstring& value)
{
    if (value == L"1" || value == L"2")
    {
        return value == L"1" ? 1 : 2;
    }
    Reject(key, value, "expected 1 (part) or 2 (assembly)");
}

std::vector<long> ParseDocumentList(const std::wstring& key, const std::wstring& value)
{
    std::vector<long> types;
    size_t start = 0;
    while (start <= value.size() && !value.empty())
    {
        size_t comma = value.find(L',', start);
        comma = comma == std::wstring::npos ? value.size() : comma;
        const std::wstring word = value.substr(start, comma - start);
        if (word == L"part")
        {
            types.push_back(1);
        }
        else if (word == L"assembly")
        {
            types.push_back(2);
        }
        else
        {
            Reject(key, value, "expected a list of part and assembly");
        }
        start = comma + 1;
    }
    return types;
}

// A call as K or OBJ:0xID[#N] at the start of value; what follows a colon
// after it goes to rest (none without that colon). Null when malformed.
std::optional<CallSelector> ParseCallSelector(const std::wstring& value,
                                              std::optional<std::wstring>& rest)
{
    CallSelector call;
    size_t end = value.find(L':');
    if (const std::optional<ObjectKind> object = ObjectKindFromName(value.substr(0, end)))
    {
        const size_t start = end == std::wstring::npos ? end : end + 1;
        end = value.find(L':', start);
        const std::wstring name = start == end ? std::wstring() : value.substr(start, end - start);
        const size_t hash = name.find(L'#');
        const std::optional<long> id = ParseNumber(name.substr(0, hash));
        const std::optional<long> occurrence = hash == std::wstring::npos
                                                   ? std::optional<long>(1)
                                                   : ParseNumber(name.substr(hash + 1));
        if (start == std::wstring::npos || !id || !occurrence || *occurrence < 1)
        {
            return std::nullopt;
        }
        call = {0, *object, static_cast<DISPID>(*id), *occurrence};
    }
    else
    {
        const std::optional<long> number = ParseNumber(value.substr(0, end));
        if (!number || *number < 1)
        {
            return std::nullopt;
        }
        call.number = *number;
    }
    rest = end == std::wstring::npos ? std::nullopt : std::optional(value.substr(end + 1));
    return call;
}

FailCallOption ParseFailCall(const std::wstring& key, const std::wstring& value)
{
    std::optional<std::wstring> text;
    const std::optional<CallSelector> call = ParseCallSelector(value, text);
    if (!call || !text)
    {
        Reject(key, value, "expected CALL:text, CALL as K counted from 1 or OBJ:0xID[#N]");
    }
    return {*call, *text};
}

FailDispidOption ParseFailDispid(const std::wstring& key, const std::wstring& value)
{
    const size_t first = value.find(L':');
    const size_t second = first == std::wstring::npos ? first : value.find(L':', first + 1);
    if (second == std::wstring::npos)
    {
        Reject(key, value, "expected <app|doc|view>:0xID:text");
    }
    const std::optional<ObjectKind> object = ObjectKindFromName(value.substr(0, first));
    const std::optional<long> id = ParseNumber(value.substr(first + 1, second - first - 1));
    if (!object || !id)
    {
        Reject(key, value, "expected <app|doc|view>:0xID:text");
    }
    return {*object, static_cast<DISPID>(*id), value.substr(second + 1)};
}

CallSelector ParseCall(const std::wstring& key, const std::wstring& value)
{
    std::optional<std::wstring> rest;
    const std::optional<CallSelector> call = ParseCallSelector(value, rest);
    if (!call || rest)
    {
        Reject(key, value, "expected a call number counted from 1 or OBJ:0xID[#N]");
    }
    return *call;
}

FailHresultOption ParseFailHresult(const std::wstring& key, const std::wstring& value)
{
    std::optional<std::wstring> rest;
    const std::optional<CallSelector> call = ParseCallSelector(value, rest);
    const size_t colon = rest ? rest->find(L':') : std::wstring::npos;
    const std::optional<long> result = rest ? ParseNumber(rest->substr(0, colon)) : std::nullopt;
    const std::optional<long> count =
        colon == std::wstring::npos ? std::optional<long>(1) : ParseNumber(rest->substr(colon + 1));
    if (!call || !result || !count || *count < 1)
    {
        Reject(key, value, "expected CALL:0xHRESULT[:N], CALL as K or OBJ:0xID[#N], N from 1");
    }
    return {*call, static_cast<HRESULT>(*result), *count};
}

BusyOption ParseBusy(const std::wstring& key, const std::wstring& value)
{
    std::optional<std::wstring> rest;
    const std::optional<CallSelector> call = ParseCallSelector(value, rest);
    const std::optional<long> ms = rest ? ParseNumber(*rest) : std::nullopt;
    if (!call || !ms || *ms < 0 || *ms > 600000)
    {
        Reject(key, value, "expected CALL:MS, CALL as K or OBJ:0xID[#N], MS at most 600000");
    }
    return {*call, *ms};
}

AreaSizeOption ParseArea(const std::wstring& key, const std::wstring& value)
{
    const size_t x = value.find(L'x');
    const std::optional<long> width =
        x == std::wstring::npos ? std::nullopt : ParseNumber(value.substr(0, x));
    const std::optional<long> height =
        x == std::wstring::npos ? std::nullopt : ParseNumber(value.substr(x + 1));
    if (!width || !height || *width < 50 || *height < 50 || *width > 4000 || *height > 4000)
    {
        Reject(key, value, "expected WIDTHxHEIGHT, each 50 to 4000");
    }
    return {*width, *height};
}

bool ParseEmptyResult(const std::wstring& key, const std::wstring& value)
{
    if (value == L"null" || value == L"empty")
    {
        return value == L"empty";
    }
    Reject(key, value, "expected null or empty");
}

// import=open (the default) or refuse: a SolidWorks that cannot read the file.
bool ParseImportRefused(const std::wstring& key, const std::wstring& value)
{
    if (value == L"open" || value == L"refuse")
    {
        return value == L"refuse";
    }
    Reject(key, value, "expected open or refuse");
}

void ApplyItem(CSimOptions& options, const std::wstring& key, const std::wstring& value)
{
    if (key == L"revision")
    {
        options.revision = value;
    }
    else if (key == L"docs")
    {
        const std::vector<long> types = ParseDocumentList(key, value);
        options.documentTypes.insert(options.documentTypes.end(), types.begin(), types.end());
    }
    else if (key == L"minimized")
    {
        options.minimized = ParseFlag(key, value);
    }
    else if (key == L"import-type")
    {
        options.importType = ParseDocumentType(key, value);
    }
    else if (key == L"import")
    {
        options.importRefused = ParseImportRefused(key, value);
    }
    else if (key == L"fail-call")
    {
        options.failCalls.push_back(ParseFailCall(key, value));
    }
    else if (key == L"fail-dispid")
    {
        options.failDispids.push_back(ParseFailDispid(key, value));
    }
    else if (key == L"answer")
    {
        options.answers.push_back(ParseFailDispid(key, value));
    }
    else if (key == L"fail-hresult")
    {
        options.failHresults.push_back(ParseFailHresult(key, value));
    }
    else if (key == L"exit-at")
    {
        options.exitAt = ParseCall(key, value);
    }
    else if (key == L"hang-at")
    {
        options.hangAt = ParseCall(key, value);
    }
    else if (key == L"ask-at")
    {
        options.askAt = ParseCall(key, value);
    }
    else if (key == L"busy-at")
    {
        options.busyAt = ParseBusy(key, value);
    }
    else if (key == L"save")
    {
        if (value != L"write" && value != L"refuse")
        {
            Reject(key, value, "expected write or refuse");
        }
        options.saveRefused = value == L"refuse";
    }
    else if (key == L"hold-files")
    {
        options.holdFiles = ParseFlag(key, value);
    }
    else if (key == L"release")
    {
        options.release = ParseFlag(key, value);
    }
    else if (key == L"area")
    {
        options.area = ParseArea(key, value);
    }
    else if (key == L"new-assembly")
    {
        options.newAssembly = ParseFlag(key, value);
    }
    else if (key == L"components")
    {
        const std::vector<long> types = ParseDocumentList(key, value);
        options.componentTypes.insert(options.componentTypes.end(), types.begin(), types.end());
    }
    else if (key == L"open")
    {
        options.openPaths.push_back(value);
    }
    else if (key == L"show-extensions")
    {
        options.showExtensions = ParseFlag(key, value);
    }
    else if (key == L"no-view")
    {
        options.noView = ParseFlag(key, value);
    }
    else if (key == L"reset")
    {
        options.reset = ParseFlag(key, value);
    }
    else if (key == L"empty-result")
    {
        options.emptyAsVariantEmpty = ParseEmptyResult(key, value);
    }
    else
    {
        Reject(key, value, "unknown option");
    }
}

} // namespace

CSimOptions CSimOptions::Parse(const std::wstring& text)
{
    CSimOptions options;
    for (const OptionItem& item : SplitOptionText(text))
    {
        ApplyItem(options, item.first, item.second);
    }
    return options;
}

} // namespace swsim
