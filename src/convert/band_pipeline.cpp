// Band pipeline: threads that take bands in turn, fetching, composing and delivering each in order.
#include "convert/band_pipeline.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace moza::convert {
namespace {

Error notWritten() { return Error{"the page could not be written"}; }

/// The threads' shared state; every field is guarded by `mutex`.
struct Shared {
    std::mutex mutex;
    std::condition_variable fetchTurn;    // a thread waits for the band before its own to be fetched
    std::condition_variable deliverTurn;  // ... or delivered
    std::size_t nextToCompose = 0;
    std::size_t nextToFetch = 0;
    std::size_t nextToDeliver = 0;
    bool stop = false;
    bool refused = false;               // `deliver` returned false
    std::exception_ptr thrown;          // the first thing a thread threw
    std::optional<Error> fetchFailure;  // the first fetch that failed

    void stopAll() {
        stop = true;
        fetchTurn.notify_all();
        deliverTurn.notify_all();
    }
};

/// A thread's share of the bands: takes the next band, fetches its rows once the band before has
/// been fetched, composes it while the next thread fetches, and delivers it once the band before
/// has been delivered. The thread that composed a band writes it on: its markup is still in that
/// core's cache, where handing it to another thread would move every byte between cores.
void work(Shared& shared, const std::vector<Band>& bands, std::size_t slots, BandMemory& memory, const RowFetch& fetch,
          const BandCompose& compose, const BandSink& deliver) {
    try {
        BandRows rows;
        std::unique_lock lock(shared.mutex);
        while (!shared.stop && shared.nextToCompose < bands.size()) {
            // The bands in hand are the ones from nextToDeliver on, at most one a thread: a slot each.
            const std::size_t b = shared.nextToCompose++;
            std::string& markup = memory.markup[b % slots];
            shared.fetchTurn.wait(lock, [&] { return shared.stop || shared.nextToFetch == b; });
            if (shared.stop) return;
            lock.unlock();
            Status fetched = fetch(bands[b], b % slots, rows);
            lock.lock();
            if (!fetched) {
                if (!shared.fetchFailure) shared.fetchFailure = fetched.error();
                shared.stopAll();
                return;
            }
            ++shared.nextToFetch;
            shared.fetchTurn.notify_all();
            lock.unlock();
            compose(bands[b], rows, markup);
            lock.lock();
            shared.deliverTurn.wait(lock, [&] { return shared.stop || shared.nextToDeliver == b; });
            if (shared.stop) return;
            lock.unlock();
            const bool delivered = deliver(bands[b], markup);
            lock.lock();
            if (!delivered) {
                shared.refused = true;
                shared.stopAll();
                return;
            }
            ++shared.nextToDeliver;
            shared.deliverTurn.notify_all();
        }
    } catch (...) {
        std::lock_guard lock(shared.mutex);
        if (!shared.thrown) shared.thrown = std::current_exception();
        shared.stopAll();
    }
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

std::size_t BandSlots(int threads) { return static_cast<std::size_t>(std::max(threads, 1)); }

Status RunBands(const std::vector<Band>& bands, int threads, BandMemory& memory, const RowFetch& fetch,
                const BandCompose& compose, const BandSink& deliver) {
    const std::size_t slots = BandSlots(threads);
    Shared shared;
    std::vector<std::thread> helpers;
    auto join = [&helpers] {
        for (std::thread& thread : helpers) thread.join();
    };
    try {
        for (int t = 1; t < threads; ++t) {
            helpers.emplace_back(work, std::ref(shared), std::cref(bands), slots, std::ref(memory), std::cref(fetch),
                                 std::cref(compose), std::cref(deliver));
        }
    } catch (const std::system_error&) {
        // The system starts no more threads: those already started do the work.
    } catch (...) {
        {
            std::lock_guard lock(shared.mutex);
            shared.stopAll();
        }
        join();
        throw;
    }
    work(shared, bands, slots, memory, fetch, compose, deliver);  // the calling thread takes bands too
    join();
    if (shared.thrown) std::rethrow_exception(shared.thrown);
    if (shared.fetchFailure) return *shared.fetchFailure;
    return shared.refused ? Status(notWritten()) : success();
}

}  // namespace moza::convert
