#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstddef>

namespace tallyvane::batch {

// A regular file from its offset on, cut into chunks for several threads.
// Chunk k holds the lines that begin in its k-th stretch of chunkSize bytes:
// it starts just after the first LF at or after the stretch's first byte
// less one, and ends where the next chunk starts. Cut only after an LF, a
// chunk never splits a CR LF, so its lines are the lines one reader finds.
// The last chunk reads on to the end of the file, however far that is now.
class ChunkedFile {
public:
    ChunkedFile(int fd, std::size_t chunkSize);

    std::size_t chunks() const { return chunks_; }
    // Leaves the descriptor's offset where one reader would have left it.
    void leaveOffsetAtEnd() const;

private:
    friend class ChunkSource;
    int fd_;
    std::size_t chunkSize_;
    off_t begin_;
    std::size_t chunks_;
    mutable std::atomic<off_t> end_; // where the last chunk found the end
};

// Reads one chunk's bytes, as LineReader::Source: pread at its own offset,
// so several threads read one descriptor at once.
class ChunkSource {
public:
    ChunkSource(const ChunkedFile& file, std::size_t chunk);

    std::size_t chunk() const { return chunk_; }
    ssize_t operator()(char* buffer, std::size_t size);

private:
    // Where the chunk's first line begins, or false when none begins in it.
    bool findStart();

    const ChunkedFile& file_;
    std::size_t chunk_;
    bool last_;
    off_t cutFrom_; // the chunk ends after the first LF at or after this byte
    off_t at_;      // the next byte to hand on
    bool started_ = false;
    bool done_ = false;
};

} // namespace tallyvane::batch
