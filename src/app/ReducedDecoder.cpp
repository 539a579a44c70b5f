#include "ReducedDecoder.h"

#include <algorithm>
#include <exception>

namespace {

std::optional<TPreparedPicture> Prepare(const TReducedDecoder::Job& job) {
    // A picture that cannot be read gets nothing prepared; the caller then reads it itself and
    // meets the error there.
    try {
        TPreparedPicture prepared{Codecs::ReadPicture(job.path, job.minSize), QImage()};
        if (job.finish)
            prepared.made = job.finish(prepared.picture);
        return prepared;
    } catch (const std::exception&) {
        // Nothing may leave a worker thread; the caller's own attempt reports the failure.
        return std::nullopt;
    }
}

} // namespace

TReducedDecoder::TReducedDecoder(std::vector<Job> jobs) {
    queue.reserve(jobs.size());
    for (Job& job : jobs)
        queue.push_back(Slot{std::move(job), std::nullopt, false});
    if (queue.empty())
        return;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < std::min<size_t>(cores, queue.size()); ++i)
        workers.emplace_back([this] { Work(); });
}

TReducedDecoder::~TReducedDecoder() {
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    for (std::thread& worker : workers)
        worker.join();
}

void TReducedDecoder::Work() {
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] {
            return stopping || (nextToStart < queue.size() && nextToStart < nextToTake + kMaxAhead);
        });
        if (stopping)
            return;
        const size_t index = nextToStart++;
        const Job job = queue[index].job;
        lock.unlock();
        std::optional<TPreparedPicture> result = Prepare(job);
        lock.lock();
        queue[index].result = std::move(result);
        queue[index].done = true;
        changed.notify_all();
    }
}

std::optional<TPreparedPicture> TReducedDecoder::Take(const QString& name) {
    std::unique_lock lock(mutex);
    const auto found = std::find_if(queue.begin() + std::ptrdiff_t(nextToTake), queue.end(),
                                    [&](const Slot& slot) { return slot.job.name == name; });
    if (found == queue.end())
        return std::nullopt;
    const size_t index = size_t(found - queue.begin());
    for (size_t skipped = nextToTake; skipped < index; ++skipped)
        queue[skipped].result.reset();
    nextToTake = index + 1;
    if (nextToStart <= index) {
        // Not started yet (the jobs before it were skipped): decode it here.
        nextToStart = index + 1;
        const Job job = queue[index].job;
        lock.unlock();
        changed.notify_all();
        return Prepare(job);
    }
    changed.notify_all();
    changed.wait(lock, [&] { return queue[index].done; });
    std::optional<TPreparedPicture> result = std::move(queue[index].result);
    queue[index].result.reset();
    return result;
}
