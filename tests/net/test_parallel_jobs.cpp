// The worker threads that work on several devices at once (each with a lane of the exchange, which sends on
// the caller's thread).

#include "ParallelJobs.h"

#include <QCoreApplication>
#include <QObject>
#include <QTest>
#include <QThread>

#include <atomic>

class TestParallelJobs : public QObject {
    Q_OBJECT

private slots:
    void outliveAQuit();
};

// Jobs that need the caller's thread while they run must still end, and Run return with every end told, when
// the application is told to quit meanwhile (the session ending, say): a caller that stopped serving them
// would wait for them forever.
void TestParallelJobs::outliveAQuit() {
    QObject caller;
    std::atomic<int> calls{0};
    QList<int> ended;
    olg::ParallelJobs(2).Run(
        4,
        [&](int) {
            for (int i = 0; i < 20; ++i) {
                QMetaObject::invokeMethod(
                    &caller, [&] { ++calls; }, Qt::BlockingQueuedConnection);
                QThread::msleep(2);
            }
        },
        [&](int index) {
            ended.append(index);
            if (ended.size() == 1)
                QCoreApplication::exit(0);
        });
    QCOMPARE(ended.size(), 4);
    QCOMPARE(calls.load(), 80);
}

QTEST_GUILESS_MAIN(TestParallelJobs)
#include "test_parallel_jobs.moc"
