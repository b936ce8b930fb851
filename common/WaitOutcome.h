// How a wait of the plug-in ends: the wait for a part directory's lock, and
// the wait for a SolidWorks call that has not come back. The lock, the silent
// waits and the boxes that show a wait all answer in these words; a box ends
// its modal loop with DialogResult(outcome), never with IDOK or IDCANCEL, so a
// key the dialog manager turns into a command cannot pass for an outcome.
#pragma once

#include <cstdint>

namespace qel
{

enum class WaitOutcome
{
    Waiting,   // not over yet (one look, not an end)
    Done,      // what was waited for happened: the lock is ours, the call came back
    TimedOut,  // the bound passed first
    Cancelled, // the user ended the wait
    Failed,    // it can never happen (the reason is the waiter's to give)
};

// A box's modal result for an outcome, and back: far from the dialog manager's
// own IDOK..IDCONTINUE and from -1 (no box could be shown).
constexpr std::intptr_t kWaitResultBase = 0x5100;

constexpr std::intptr_t DialogResult(WaitOutcome outcome)
{
    return kWaitResultBase + static_cast<std::intptr_t>(outcome);
}

// The outcome of a box's result; a result that is no outcome (a box that
// could not be shown, or one ended by anything else) is Failed.
constexpr WaitOutcome OutcomeOfDialogResult(std::intptr_t result)
{
    return result > DialogResult(WaitOutcome::Waiting) &&
                   result <= DialogResult(WaitOutcome::Failed)
               ? static_cast<WaitOutcome>(result - kWaitResultBase)
               : WaitOutcome::Failed;
}

// The outcome in a word, for the trace.
constexpr const char* OutcomeName(WaitOutcome outcome)
{
    switch (outcome)
    {
    case WaitOutcome::Waiting:
        return "waiting";
    case WaitOutcome::Done:
        return "acquired";
    case WaitOutcome::TimedOut:
        return "timed out";
    case WaitOutcome::Cancelled:
        return "cancelled";
    case WaitOutcome::Failed:
        break;
    }
    return "failed";
}

} // namespace qel
