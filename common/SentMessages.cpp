#include "common/SentMessages.h"

namespace qel
{

void ServeSentMessages(DWORD waitMs)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= waitMs || MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs - elapsed,
                                                           QS_SENDMESSAGE) == WAIT_TIMEOUT)
            return;
    }
}

} // namespace qel
