#include "batch/parallel_lines.h"

#include "batch/chunk_source.h"
#include "batch/line_converter.h"
#include "batch/line_reader.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace tallyvane::batch {

namespace {

// What the threads share: whose turn it is to write, and how things ended.
class Turns {
public:
    // Waits until every chunk before `chunk` is out. False when the run has
    // stopped before it (a failure), and the chunk is to be dropped.
    bool await(std::size_t chunk) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return turn_ == chunk || chunk > last_; });
        return chunk <= last_;
    }
    void pass(std::size_t chunk) {
        {
            const std::lock_guard lock(mutex_);
            turn_ = chunk + 1;
        }
        changed_.notify_all();
    }
    // No chunk after `chunk` is to be written (a read failed in it, or a
    // thread failed before it); the first failure is kept.
    void stopAfter(std::size_t chunk, int error, std::exception_ptr failure = {}) {
        {
            const std::lock_guard lock(mutex_);
            if (chunk < last_ || (chunk == last_ && !failure_ && error_ == 0)) {
                last_ = chunk;
                error_ = error;
                failure_ = std::move(failure);
            }
        }
        changed_.notify_all();
    }
    bool stopped(std::size_t chunk) {
        const std::lock_guard lock(mutex_);
        return chunk > last_;
    }
    int error() const { return error_; }
    std::exception_ptr failure() const { return failure_; }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t turn_ = 0;
    std::size_t last_ = std::size_t(-1);
    int error_ = 0;
    std::exception_ptr failure_;
};

// One thread's converter and reader, used for chunk after chunk. Rows go to
// `held` until the chunk's turn comes, then straight to the shared output.
class Worker {
public:
    Worker(const LineWork& job, ByteOutput& shared, Turns& turns, std::size_t block,
           std::size_t heldBack)
        : shared_(shared), turns_(turns), heldBack_(heldBack),
          out_([this](std::string_view rows) { take(rows); },
               std::min(std::size_t(256) << 10, heldBack)),
          converter_(job, out_), reader_(converter_, block) {
        // All of it now, so that a thread that got its blocks never runs
        // out of memory half-way through a chunk.
        held_.reserve(heldBack_);
    }

    // Converts a chunk and writes its rows in turn; false once the run has
    // stopped before this chunk.
    bool convert(ChunkSource& source) {
        chunk_ = source.chunk();
        ourTurn_ = false;
        const int error = reader_.readAll(std::ref(source));
        out_.flush();
        if (error != 0)
            turns_.stopAfter(chunk_, error);
        if (!ourTurn_ && !(ourTurn_ = turns_.await(chunk_)))
            return false;
        shared_.put(held_);
        held_.clear();
        turns_.pass(chunk_);
        return error == 0;
    }

private:
    void take(std::string_view rows) {
        if (!ourTurn_ && held_.size() + rows.size() <= heldBack_)
            return static_cast<void>(held_.append(rows));
        if (!ourTurn_) {
            if (!turns_.await(chunk_))
                throw Dropped{};
            ourTurn_ = true;
            shared_.put(held_);
            held_.clear();
        }
        shared_.put(rows);
    }

public:
    struct Dropped {}; // the run stopped before this chunk's turn

private:
    ByteOutput& shared_;
    Turns& turns_;
    std::size_t heldBack_;
    std::size_t chunk_ = 0;
    bool ourTurn_ = false;
    std::string held_;
    ByteOutput out_;
    LineConverter converter_;
    LineReader reader_;
};

} // namespace

int threadsFor(int fd) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    int threads = int(std::min(cores, 4u));
    if (const char* asked = std::getenv("TALLYVANE_CONVERT_THREADS"))
        threads = std::clamp(std::atoi(asked), 1, 64);
    struct stat info {};
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    if (threads < 2 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || at < 0 ||
        info.st_size - at < off_t(4 * ParallelLines::kChunkSize))
        return 1;
    return threads;
}

ParallelLines::ParallelLines(const LineWork& work, ByteOutput& out, std::size_t chunkSize,
                             int threads, std::size_t heldBack)
    : job_(work), out_(out), chunkSize_(std::max<std::size_t>(chunkSize, 1)),
      threads_(threads > 0 ? threads : 2), heldBack_(heldBack) {}

int ParallelLines::readAll(int fd) {
    const ChunkedFile file(fd, chunkSize_);
    Turns turns;
    const std::size_t block = LineReader::blockFor(job_.table);
    std::atomic<std::size_t> next{0};
    const auto work = [&](Worker& worker) {
        try {
            for (std::size_t chunk; (chunk = next++) < file.chunks() && !turns.stopped(chunk);) {
                ChunkSource source(file, chunk);
                if (!worker.convert(source))
                    return;
            }
        } catch (const Worker::Dropped&) {
        } catch (...) {
            // Nothing after the chunks already out may be written now.
            turns.stopAfter(0, 0, std::current_exception());
        }
    };
    // This thread's blocks first: without room for them nothing can run here.
    std::optional<Worker> own;
    try {
        own.emplace(job_, out_, turns, block, heldBack_);
    } catch (const std::bad_alloc&) {
        throw NoRoom{};
    }
    // A thread that cannot be started (no memory for its stack, a process
    // limit), or that finds no room for its blocks, leaves its share to
    // those that did, down to this one alone.
    const auto startHelper = [&] {
        std::optional<Worker> worker;
        try {
            worker.emplace(job_, out_, turns, block, heldBack_);
        } catch (const std::bad_alloc&) {
            return;
        }
        work(*worker);
    };
    std::vector<std::thread> helpers;
    helpers.reserve(std::size_t(threads_));
    for (int i = 1; i < threads_; ++i) {
        try {
            helpers.emplace_back(startHelper);
        } catch (const std::system_error&) {
            break;
        }
    }
    work(*own);
    for (std::thread& helper : helpers)
        helper.join();
    if (turns.failure())
        std::rethrow_exception(turns.failure());
    file.leaveOffsetAtEnd();
    return turns.error();
}

} // namespace tallyvane::batch
