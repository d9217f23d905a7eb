// The pool that runs device calls off the GUI thread: every function runs once on a worker, with what the caller
// built intact also when it waited behind busy workers; WaitForDone (and the destructor) return only after every
// function ended and its captures were freed, with the workers' writes visible to the caller.
#include "WorkerPool.h"

#include <QThread>
#include <QtTest>

#include <memory>
#include <vector>

class WorkerPoolTest : public QObject
{
    Q_OBJECT

private slots:
    void functionsQueuedBehindBusyWorkersSeeWhatTheCallerBuilt()
    {
        constexpr int kFunctions = 64;
        std::vector<int> results(kFunctions, -1);  // slot i written by function i only, read after the wait
        std::vector<int> offThread(kFunctions, 0);
        auto payload = std::make_shared<std::vector<int>>();
        {
            WorkerPool pool(2);  // far fewer workers than functions: most wait in the queue
            for (int i = 0; i < kFunctions; ++i) {
                // Built here, read on a worker: the hand-over has to order the two.
                auto own = std::make_shared<std::vector<int>>(16, i);
                QThread* caller = QThread::currentThread();
                pool.Start([&results, &offThread, own, payload, caller, i] {
                    offThread[static_cast<size_t>(i)] = QThread::currentThread() != caller;
                    results[static_cast<size_t>(i)] = *own == std::vector<int>(16, i) ? i : -2;
                });
            }
            pool.WaitForDone();
            QCOMPARE(payload.use_count(), 1L);  // every function's captures are gone
            for (int i = 0; i < kFunctions; ++i) {
                QCOMPARE(results[static_cast<size_t>(i)], i);
                QCOMPARE(offThread[static_cast<size_t>(i)], 1);
            }
            // The pool runs again after a wait.
            results.assign(kFunctions, -1);
            pool.Start([&results] { results[0] = 7; });
            pool.WaitForDone();
            QCOMPARE(results[0], 7);
        }
    }

    void destructorWaitsForTheFunctionsStarted()
    {
        std::vector<int> done(8, 0);
        {
            WorkerPool pool(1);
            for (size_t i = 0; i < done.size(); ++i)
                pool.Start([&done, i] {
                    QThread::msleep(5);
                    done[i] = 1;
                });
        }
        QCOMPARE(done, std::vector<int>(8, 1));
    }
};

QTEST_GUILESS_MAIN(WorkerPoolTest)
#include "tst_worker_pool.moc"
