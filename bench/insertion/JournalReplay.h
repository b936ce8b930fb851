// Replays the automation calls of a simulator journal (tools/swsim/README.md)
// against a running SolidWorks: the same calls, in the same order, with the
// same arguments, objects named doc#N and view#N taken from the results of
// earlier calls. A yardstick for the insertion: the server does the same work,
// and nothing of the plug-in's own runs.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <oaidl.h>
#include <wrl/client.h>

class CJournalReplay
{
public:
    // Throws std::runtime_error for a line it cannot read.
    explicit CJournalReplay(const std::vector<std::string>& journal);

    // Makes every call on application; false when one of them failed.
    bool Run(IDispatch* application) const;

private:
    struct Argument
    {
        enum class Kind
        {
            Text,
            Long,
            Bool,
            LongRef
        } kind;
        std::string text;
        long value = 0;
    };
    struct Call
    {
        std::string target; // "app", "doc#N", "view#N"
        DISPID id = 0;
        WORD flags = DISPATCH_METHOD;
        std::vector<Argument> arguments;
        std::string result; // "doc#N"/"view#N" names an object for later calls
    };

    static Call ParseLine(const std::string& line);

    std::vector<Call> m_calls;
};
