#include "common/BoundedMutexLock.h"

#include "common/SentMessages.h"

namespace qel
{

CBoundedMutexLock::CBoundedMutexLock(HANDLE mutex, DWORD boundMs)
    : m_mutex(mutex),
      m_result(mutex != nullptr ? WaitServingSentMessages(mutex, boundMs) : WAIT_FAILED)
{
}

CBoundedMutexLock::~CBoundedMutexLock()
{
    if (m_result == WAIT_OBJECT_0 || m_result == WAIT_ABANDONED_0)
        ReleaseMutex(m_mutex);
}

} // namespace qel
