// One option text of the simulator (command line or Configure), parsed and
// checked as a whole before anything of it is applied.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <oaidl.h>

#include "tools/swsim/ObjectKind.h"

namespace swsim
{

// fail-call=K:text: the K-th dispatch call since start or the last clear fails.
struct FailCallOption
{
    long number;
    std::wstring text;
};

// fail-dispid=<app|doc|view>:0xID:text: every such call fails.
struct FailDispidOption
{
    ObjectKind object;
    DISPID id;
    std::wstring text;
};

// answer=<app|doc|view>:0xID:value: every such call does its work but answers
// with value instead of its own result: "empty" (VT_EMPTY), "null" (VT_NULL)
// or any other text (VT_BSTR), as a server of another version might.
using AnswerOption = FailDispidOption;

// fail-hresult=K:0xHR[:N]: the K-th call (and the N - 1 after it) returns HR
// itself, without an exception.
struct FailHresultOption
{
    long number;
    HRESULT result;
    long count = 1;
};

// busy-at=K:MS: the K-th call first computes for MS milliseconds, reading no
// messages at all.
struct BusyOption
{
    long number;
    long milliseconds;
};

// The size of the document area's client rectangle.
struct AreaSizeOption
{
    long width;
    long height;
};

class CSimOptions
{
public:
    // Throws std::invalid_argument naming the first bad item.
    static CSimOptions Parse(const std::wstring& text);

    bool reset = false;
    std::optional<std::wstring> revision;
    std::vector<long> documentTypes; // 1 part, 2 assembly, in opening order
    std::optional<bool> minimized;
    std::optional<long> importType;
    std::optional<bool> importRefused; // true: imports answer false and open nothing
    std::optional<bool> emptyAsVariantEmpty;
    std::vector<FailCallOption> failCalls;
    std::vector<FailDispidOption> failDispids;
    std::vector<FailHresultOption> failHresults;
    std::vector<AnswerOption> answers;
    std::optional<long> exitAt;
    std::optional<long> hangAt;
    std::optional<long> askAt; // the call first asks a question in a modal box
    std::optional<BusyOption> busyAt;
    std::optional<bool> holdFiles;
    std::optional<bool> saveRefused; // true: saves answer false and write nothing // open
                                     // documents' files held against writing and deleting
    bool release = false;
    std::optional<AreaSizeOption> area;
    std::optional<bool> noView;
    std::optional<bool> newAssembly; // false: NewAssembly makes nothing (no template)
    // Documents loaded as components of the assembly opened next: no view,
    // not active, listed before it.
    std::vector<long> componentTypes;
    std::vector<std::wstring> openPaths; // saved document files, opened as app 0x63 opens them
    std::optional<bool> showExtensions;  // false: titles without extension, as Windows hides them
};

} // namespace swsim
