#include "common/SentMessages.h"

namespace qel
{

void ServeSentMessages(DWORD waitMs)
{
    WaitServingSentMessages(nullptr, waitMs);
}

DWORD WaitServingSentMessages(HANDLE object, DWORD waitMs)
{
    const DWORD count = object != nullptr ? 1 : 0;
    const DWORD start = GetTickCount();
    for (;;)
    {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = elapsed < waitMs ? waitMs - elapsed : 0;
        const DWORD result = MsgWaitForMultipleObjects(count, count != 0 ? &object : nullptr, FALSE,
                                                       left, QS_SENDMESSAGE);
        // The object comes before the messages: a sent message alone means
        // serving it and waiting on.
        if (result != WAIT_OBJECT_0 + count)
            return result;
        if (left == 0)
            return WAIT_TIMEOUT;
    }
}

} // namespace qel
