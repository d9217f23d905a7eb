// The queue that carries calls from worker threads to an object's thread: every call runs there once, each
// thread's calls in the order posted, with what the poster built intact; calls left when the queue goes never run.
#include "CallQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <QtTest>

#include <memory>
#include <thread>
#include <vector>

class CallQueueTest : public QObject
{
    Q_OBJECT

private slots:
    void callsFromManyThreadsRunOnTheOwnersThreadInOrder()
    {
        constexpr int kThreads = 4;
        constexpr int kCalls = 200;
        QObject owner;
        auto* queue = new CallQueue(&owner);
        std::vector<std::vector<int>> seen(kThreads);  // written on this thread only, by the calls
        int offThread = 0;
        int brokenPayloads = 0;
        std::vector<std::thread> posters;
        for (int t = 0; t < kThreads; ++t) {
            posters.emplace_back([&, t] {
                for (int i = 0; i < kCalls; ++i) {
                    // Built on the poster's thread, read on the owner's: the hand-over has to order the two.
                    auto payload = std::make_shared<std::vector<int>>(16, t * kCalls + i);
                    queue->Post([&, t, i, payload] {
                        offThread += QThread::currentThread() != owner.thread();
                        brokenPayloads += *payload != std::vector<int>(16, t * kCalls + i);
                        seen[static_cast<size_t>(t)].push_back(i);
                    });
                }
            });
        }
        for (std::thread& poster : posters)
            poster.join();
        QCoreApplication::sendPostedEvents(queue);

        QCOMPARE(offThread, 0);
        QCOMPARE(brokenPayloads, 0);
        std::vector<int> inOrder(kCalls);
        for (int i = 0; i < kCalls; ++i)
            inOrder[static_cast<size_t>(i)] = i;
        for (int t = 0; t < kThreads; ++t)
            QVERIFY2(seen[static_cast<size_t>(t)] == inOrder, qPrintable(QString::number(t)));
    }

    void callsLeftWhenTheQueueGoesAreDroppedUnrun()
    {
        auto* owner = new QObject;
        auto* queue = new CallQueue(owner);
        auto payload = std::make_shared<int>(1);
        bool ran = false;
        std::thread poster([&] { queue->Post([&ran, payload] { ran = true; }); });
        poster.join();
        QCOMPARE(payload.use_count(), 2L);  // held by the waiting call
        delete owner;
        QCoreApplication::sendPostedEvents();
        QVERIFY(!ran);
        QCOMPARE(payload.use_count(), 1L);
    }
};

QTEST_GUILESS_MAIN(CallQueueTest)
#include "tst_call_queue.moc"
