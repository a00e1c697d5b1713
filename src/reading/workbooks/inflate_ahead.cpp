// Inflating a large workbook part on a thread of its own, a few blocks ahead
// of the parser, so that the two costs overlap on two cores.
#include "platform/failure.h"
#include "reading/workbooks/zip_members.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tallyvane {

namespace {

constexpr std::size_t kBlocksAhead = 4;

struct Block {
    std::vector<char> bytes = std::vector<char>(ZipMembers::kBlockSize);
    std::size_t size = 0; // 0: the member ended
};

// The blocks between the two threads: filled ones in order, empty ones to reuse.
class BlockQueue {
public:
    BlockQueue() : free_(kBlocksAhead) {}
    Block* takeFree() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !freeIndexes_.empty() || stopped_; });
        if (stopped_)
            return nullptr;
        Block* block = &free_[freeIndexes_.front()];
        freeIndexes_.pop_front();
        return block;
    }
    void putFilled(Block* block) {
        std::lock_guard lock(mutex_);
        filled_.push_back(block);
        changed_.notify_all();
    }
    void fail(std::exception_ptr error) {
        std::lock_guard lock(mutex_);
        error_ = std::move(error);
        changed_.notify_all();
    }
    // The next filled block, or null once the inflating side failed.
    Block* takeFilled() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !filled_.empty() || error_; });
        if (filled_.empty())
            std::rethrow_exception(error_);
        Block* block = filled_.front();
        filled_.pop_front();
        return block;
    }
    void giveBack(Block* block) {
        std::lock_guard lock(mutex_);
        freeIndexes_.push_back(std::size_t(block - free_.data()));
        changed_.notify_all();
    }
    void stop() {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

private:
    std::vector<Block> free_;
    std::deque<std::size_t> freeIndexes_{0, 1, 2, 3};
    std::deque<Block*> filled_;
    std::exception_ptr error_;
    bool stopped_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
};

static_assert(kBlocksAhead == 4, "freeIndexes_ names each block");

} // namespace

bool ZipMembers::inflateAhead(MemberStream& stream, const Take& take) {
    BlockQueue queue;
    std::thread inflater;
    try {
        inflater = std::thread([&] {
            try {
                while (Block* block = queue.takeFree()) {
                    block->size = stream.next(block->bytes.data(), block->bytes.size());
                    queue.putFilled(block);
                    if (block->size == 0)
                        return;
                }
            } catch (...) {
                queue.fail(std::current_exception());
            }
        });
    } catch (const std::system_error&) {
        return false;
    }
    // Whatever ends the parsing, the inflater is stopped and joined first.
    struct Joins {
        BlockQueue& queue;
        std::thread& thread;
        ~Joins() {
            queue.stop();
            thread.join();
        }
    } joins{queue, inflater};
    for (;;) {
        Block* block = queue.takeFilled();
        if (block->size == 0 || !take(block->bytes.data(), block->size))
            return true;
        queue.giveBack(block);
    }
}

} // namespace tallyvane
