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

// One call as it comes: its number since start or the last clear, and which
// call of its dispatch id on its kind of object it is (both from 1).
struct CallPlace
{
    long number;
    ObjectKind object;
    DISPID id;
    long occurrence;
};

// The call an option picks: K, the K-th call since start or the last clear
// (for the sweeps that walk every call); or OBJ:0xID[#N], the N-th call of
// dispatch id ID on OBJ (default the first), which a harmless call added
// before it does not move.
struct CallSelector
{
    long number = 0; // K; 0 when picked by name
    ObjectKind object = ObjectKind::App;
    DISPID id = 0;
    long occurrence = 1;

    bool Picks(const CallPlace& call) const
    {
        return number != 0
                   ? call.number == number
                   : call.object == object && call.id == id && call.occurrence == occurrence;
    }
};

// fail-call=CALL:text: that call fails.
struct FailCallOption
{
    CallSelector call;
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

// fail-hresult=CALL:0xHR[:N]: that call (and the N - 1 after it) returns HR
// itself, without an exception.
struct FailHresultOption
{
    CallSelector call;
    HRESULT result;
    long count = 1;
};

// busy-at=CALL:MS: that call first computes for MS milliseconds, reading no
// messages at all.
struct BusyOption
{
    CallSelector call;
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
    std::optional<CallSelector> exitAt;
    std::optional<CallSelector> hangAt;
    std::optional<CallSelector> askAt; // the call first asks a question in a modal box
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
