#include "CallQueue.h"

#include <utility>

CallQueue::CallQueue(QObject* parent) : QObject(parent) {}

void CallQueue::Post(std::function<void()> call)
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Calls.push_back(std::move(call));
    }
    // One event per call, each running the oldest: the calls keep their place among the thread's other events.
    QMetaObject::invokeMethod(this, "RunNext", Qt::QueuedConnection);
}

void CallQueue::RunNext()
{
    std::function<void()> call;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_Calls.empty())
            return;
        call = std::move(m_Calls.front());
        m_Calls.pop_front();
    }
    call();
}
