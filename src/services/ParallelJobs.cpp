#include "ParallelJobs.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

namespace olg {

void ParallelJobs::Run(int count, const std::function<void(int index)>& work,
                       const std::function<void(int index)>& finished) {
    if (count <= 0)
        return;
    QEventLoop loop;
    QObject caller;
    std::atomic<int> next{0};
    int ended = 0;
    std::vector<std::unique_ptr<QThread>> threads;
    const int workers = std::min(jobs_, count);
    for (int worker = 0; worker < workers; ++worker) {
        // Each worker takes the next job when it is free, so that a slow device does not hold the others up.
        threads.emplace_back(QThread::create([&] {
            for (int index = next++; index < count; index = next++) {
                work(index);
                QMetaObject::invokeMethod(
                    &caller,
                    [&, index] {
                        finished(index);
                        if (++ended == count)
                            loop.quit();
                    },
                    Qt::QueuedConnection);
            }
        }));
        threads.back()->start();
    }
    loop.exec();
    // The application may be ending: its event loops are told to quit, and this one returns early. The jobs
    // still need this thread until they end (a lane sends here), so it goes on serving them.
    while (ended < count)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    for (const auto& thread : threads)
        thread->wait();
}

} // namespace olg
