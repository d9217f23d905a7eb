#include "WaitThread.h"

WaitThread::WaitThread() = default;

WaitThread::~WaitThread() = default;

void WaitThread::run()
{
    if (m_Running)
        m_Running();
    m_Ended.store(true, std::memory_order_release);
}
