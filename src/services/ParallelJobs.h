#pragma once

#include <functional>

namespace olg {

// Runs numbered jobs on worker threads, at most a given number at once, while the calling thread's event loop
// keeps running: a job may wait on its own event loop (a request's wait, a transfer) and rely on objects of
// the calling thread, such as the shared exchange, meanwhile. Each job's end is told on the calling thread,
// in the order the jobs end.
class ParallelJobs {
public:
    // How many devices both programs work on at once unless told otherwise.
    static constexpr int DefaultJobs = 4;

    explicit ParallelJobs(int jobs) : jobs_(jobs < 1 ? 1 : jobs) {}

    // work(index) runs on a worker thread for every index from 0 to count - 1, and every object it makes must
    // be gone when it returns; finished(index) then runs on the calling thread. Returns when all have ended.
    void Run(int count, const std::function<void(int index)>& work,
             const std::function<void(int index)>& finished);

private:
    int jobs_;
};

} // namespace olg
