#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>

namespace tallyvane::batch {

// Reads as read(2) does: a count, 0 at the end, or -1 with errno set.
using ByteSource = std::function<ssize_t(char* buffer, std::size_t size)>;

// The input's text as UTF-8, as the window reads a file: UTF-16 (with its
// mark or without) decoded, and a mark at its start dropped, or written as
// UTF-8's (a table's rows written out again keep saying what they are).
// UTF-32 is not read: the source fails with EILSEQ.
enum class Marks { Dropped, AsUtf8 };
ByteSource decodedText(ByteSource raw, Marks marks = Marks::Dropped);

// Whether the text at fd's offset needs none of that (no mark, not UTF-16),
// so that its bytes may be read as they are, in chunks on several threads.
bool plainTextAt(int fd);

} // namespace tallyvane::batch
