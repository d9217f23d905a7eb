#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

// Runs functions on the thread of the object that owns it (its parent), in the order they were posted; Post may be
// called from any thread. Calls still waiting when the queue is destroyed are dropped without running.
//
// Why not a queued QMetaObject::invokeMethod with a lambda: Qt hands the lambda's copy over through its own
// futex-based locks, which the thread sanitizer cannot see, so every capture read on the receiving thread looks
// like a race and a checked build cannot tell a real race from Qt's ordering. Here the functions pass through a
// std::mutex, and Qt only carries a call by name, which copies nothing of ours.
class CallQueue : public QObject
{
    Q_OBJECT

public:
    explicit CallQueue(QObject* parent);

    void Post(std::function<void()> call);

private slots:
    void RunNext();

private:
    std::mutex m_Mutex;
    std::deque<std::function<void()>> m_Calls;
};
