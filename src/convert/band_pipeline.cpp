// Band pipeline: the bands composed on the calling thread, or on workers that fetch in turn.
#include "convert/band_pipeline.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace moza::convert {
namespace {

Error notWritten() { return Error{"the page could not be written"}; }

Status runInTurn(const std::vector<Band>& bands, BandMemory& memory, const RowFetch& fetch, const BandCompose& compose,
                 const BandSink& deliver) {
    BandRows rows;
    for (const Band& band : bands) {
        if (Status fetched = fetch(band, 0, rows); !fetched) return fetched;
        compose(band, rows, memory.markup[0]);
        if (!deliver(band, memory.markup[0])) return notWritten();
    }
    return success();
}

/// The workers' shared state; every field is guarded by `mutex`. Each wait has its own condition,
/// so that a band fetched, composed or delivered wakes only the thread that waits for it.
struct Shared {
    std::mutex mutex;
    std::condition_variable room;      // a worker waits for a slot to compose into
    std::condition_variable turn;      // a worker waits for the band before its own to be fetched
    std::condition_variable composed;  // the calling thread waits for the next band to deliver
    std::size_t nextToCompose = 0;
    std::size_t nextToFetch = 0;
    std::size_t nextToDeliver = 0;
    std::vector<char> ready;
    bool stop = false;
    std::exception_ptr thrown;          // the first thing a worker threw
    std::optional<Error> fetchFailure;  // the first fetch that failed

    void stopAll() {
        stop = true;
        room.notify_all();
        turn.notify_all();
        composed.notify_all();
    }
};

/// A worker: takes the next band, fetches its rows once the band before has been fetched, and
/// composes it into its slot while the next worker fetches.
void work(Shared& shared, const std::vector<Band>& bands, std::size_t window, BandMemory& memory, const RowFetch& fetch,
          const BandCompose& compose) {
    try {
        BandRows rows;
        std::unique_lock lock(shared.mutex);
        for (;;) {
            shared.room.wait(lock, [&] {
                return shared.stop || shared.nextToCompose >= bands.size() ||
                       shared.nextToCompose < shared.nextToDeliver + window;
            });
            if (shared.stop || shared.nextToCompose >= bands.size()) return;
            const std::size_t b = shared.nextToCompose++;
            shared.turn.wait(lock, [&] { return shared.stop || shared.nextToFetch == b; });
            if (shared.stop) return;
            lock.unlock();
            Status fetched = fetch(bands[b], b % window, rows);
            lock.lock();
            if (!fetched) {
                if (!shared.fetchFailure) shared.fetchFailure = fetched.error();
                shared.stopAll();
                return;
            }
            ++shared.nextToFetch;
            shared.turn.notify_all();
            lock.unlock();
            compose(bands[b], rows, memory.markup[b % window]);
            lock.lock();
            shared.ready[b] = 1;
            if (b == shared.nextToDeliver) shared.composed.notify_one();
        }
    } catch (...) {
        std::lock_guard lock(shared.mutex);
        if (!shared.thrown) shared.thrown = std::current_exception();
        shared.stopAll();
    }
}

Status runInParallel(const std::vector<Band>& bands, int threads, BandMemory& memory, const RowFetch& fetch,
                     const BandCompose& compose, const BandSink& deliver) {
    const std::size_t window = BandSlots(threads);
    Shared shared;
    shared.ready.assign(bands.size(), 0);
    std::vector<std::thread> pool;
    auto stopAndJoin = [&] {
        {
            std::lock_guard lock(shared.mutex);
            shared.stopAll();
        }
        for (std::thread& thread : pool) thread.join();
    };
    try {
        pool.reserve(static_cast<std::size_t>(threads));
        for (int t = 0; t < threads; ++t) {
            pool.emplace_back(work, std::ref(shared), std::cref(bands), window, std::ref(memory), std::cref(fetch),
                              std::cref(compose));
        }
    } catch (const std::system_error&) {
        // The system starts no more threads: those already started do the work.
    } catch (...) {
        stopAndJoin();
        throw;
    }
    if (pool.empty()) return runInTurn(bands, memory, fetch, compose, deliver);

    bool delivered = true;
    try {
        for (std::size_t b = 0; b < bands.size() && delivered; ++b) {
            {
                std::unique_lock lock(shared.mutex);
                shared.composed.wait(lock, [&] { return shared.ready[b] != 0 || shared.stop; });
                if (!shared.ready[b]) break;
            }
            delivered = deliver(bands[b], memory.markup[b % window]);
            std::lock_guard lock(shared.mutex);
            shared.nextToDeliver = b + 1;
            if (!delivered) {
                shared.stopAll();
            } else {
                shared.room.notify_one();
            }
        }
    } catch (...) {
        stopAndJoin();
        throw;
    }
    stopAndJoin();
    if (shared.thrown) std::rethrow_exception(shared.thrown);
    if (shared.fetchFailure) return *shared.fetchFailure;
    return delivered ? success() : Status(notWritten());
}

}  // namespace

BandMemory& BandMemoryOfThisThread(std::size_t slots) {
    thread_local BandMemory memory;
    if (memory.markup.size() < slots) {
        memory.markup.resize(slots);
        memory.pixels.resize(slots);
    }
    return memory;
}

std::size_t BandSlots(int threads) { return threads <= 1 ? 1 : static_cast<std::size_t>(threads) * 2; }

Status RunBands(const std::vector<Band>& bands, int threads, BandMemory& memory, const RowFetch& fetch,
                const BandCompose& compose, const BandSink& deliver) {
    return threads <= 1 ? runInTurn(bands, memory, fetch, compose, deliver)
                        : runInParallel(bands, threads, memory, fetch, compose, deliver);
}

}  // namespace moza::convert
