#include "batch/parallel_lines.h"

#include "batch/line_converter.h"
#include "batch/line_reader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace tallyvane::batch {

namespace {

// One thread's share: a block of whole lines and what they convert to.
struct Share {
    Share(const ParallelLines::Job& job, std::size_t blockSize)
        : out(ByteOutput::kCollect, 2 * blockSize),
          converter(job.table, job.direction, job.format, out, job.withReason),
          reader(converter, 1) {}
    void convert() { reader.readAll(std::string_view(lines)); }
    std::string lines;
    ByteOutput out;
    LineConverter converter;
    LineReader reader;
};

// Reads until the text holds `size` bytes or the file ends. Returns 0 or errno.
int fill(int fd, std::string& text, std::size_t size, bool& atEnd) {
    while (text.size() < size) {
        const std::size_t had = text.size();
        text.resize(size);
        const ssize_t got = ::read(fd, text.data() + had, size - had);
        text.resize(had + std::size_t(std::max<ssize_t>(got, 0)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0) {
            atEnd = true;
            return 0;
        }
    }
    return 0;
}

} // namespace

bool worthTwoThreads(int fd) {
    if (const char* threads = std::getenv("TALLYVANE_CONVERT_THREADS");
        threads && std::strcmp(threads, "1") == 0)
        return false;
    struct stat info {};
    return std::thread::hardware_concurrency() > 1 && ::fstat(fd, &info) == 0 &&
           S_ISREG(info.st_mode) && std::size_t(info.st_size) >= 4 * ParallelLines::kBlockSize;
}

ParallelLines::ParallelLines(const AreaCodeTable& table, Direction direction, Format format,
                             bool withReason, ByteOutput& out, std::size_t blockSize)
    : table_(table), direction_(direction), format_(format), withReason_(withReason), out_(out),
      blockSize_(blockSize) {}

int ParallelLines::readAll(int fd) {
    const Job job{table_, direction_, format_, withReason_};
    Share shares[2] = {{job, blockSize_}, {job, blockSize_}};
    std::binary_semaphore start(0), done(0);
    bool stop = false;
    std::exception_ptr failed;
    std::thread helper([&] {
        for (;;) {
            start.acquire();
            if (stop)
                return;
            try {
                shares[0].convert();
            } catch (...) {
                failed = std::current_exception();
            }
            done.release();
        }
    });
    // However this ends, a failed write or read included, the helper stops first.
    struct Stopper {
        bool& stop;
        std::binary_semaphore& start;
        std::thread& helper;
        ~Stopper() { stopNow(); }
        void stopNow() {
            if (!helper.joinable())
                return;
            stop = true;
            start.release();
            helper.join();
        }
    } stopper{stop, start, helper};
    const auto finish = [&] { stopper.stopNow(); };

    std::string carry; // the start of a line that the last block cut off
    bool atEnd = false;
    int error = 0;
    // Fills a share with whole lines; false when it holds a line with no LF
    // before the end of the file, which one thread then reads on.
    const auto take = [&](Share& share) {
        share.lines.swap(carry);
        carry.clear();
        if (!atEnd)
            error = fill(fd, share.lines, blockSize_, atEnd);
        if (atEnd || error != 0)
            return true;
        const std::size_t lastLf = share.lines.rfind('\n');
        if (lastLf == std::string::npos)
            return false;
        carry.assign(share.lines, lastLf + 1);
        share.lines.resize(lastLf + 1);
        return true;
    };
    const auto write = [&](Share& share) {
        out_.put(share.out.collected());
        share.out.clearCollected();
    };

    bool whole = true;
    while (whole && error == 0) {
        whole = take(shares[0]);
        if (!whole) {
            carry.swap(shares[0].lines);
            break;
        }
        const bool second = !atEnd && error == 0;
        whole = second ? take(shares[1]) : true;
        if (!whole)
            carry.swap(shares[1].lines);
        start.release();
        if (second && whole)
            shares[1].convert();
        done.acquire();
        if (failed) {
            finish();
            std::rethrow_exception(failed);
        }
        write(shares[0]);
        if (second && whole)
            write(shares[1]);
        if (atEnd)
            break;
    }
    finish();
    if (error != 0 || whole)
        return error;

    // A line longer than a block: the rest of the file on this thread, from
    // the bytes already read on.
    LineConverter converter(table_, direction_, format_, out_, withReason_);
    LineReader reader(converter, std::max(blockSize_, std::size_t(1) << 20));
    std::size_t given = 0;
    return reader.readAll([&](char* buffer, std::size_t size) -> ssize_t {
        if (given < carry.size()) {
            const std::size_t n = std::min(size, carry.size() - given);
            carry.copy(buffer, n, given);
            given += n;
            return ssize_t(n);
        }
        for (;;) {
            const ssize_t got = ::read(fd, buffer, size);
            if (got >= 0 || errno != EINTR)
                return got;
        }
    });
}

} // namespace tallyvane::batch
