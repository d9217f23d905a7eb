#include "ContactRequestQueue.h"

#include <utility>

ContactRequestQueue::ContactRequestQueue(std::function<void(const QString&)> runEditor)
    : m_RunEditor(std::move(runEditor))
{
}

void ContactRequestQueue::Add(const QString& number)
{
    m_Waiting.append(number);
    // An Add from inside a run (a press handled by the editor's event loop) only queues: the outer call
    // drains the queue once that run has returned.
    if (m_Running)
        return;
    m_Running = true;
    while (!m_Waiting.isEmpty())
        m_RunEditor(m_Waiting.takeFirst());
    m_Running = false;
}
