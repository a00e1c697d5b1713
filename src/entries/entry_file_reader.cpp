#include "entries/entry_file_reader.h"

#include "entries/entry_splitter.h"
#include "platform/regular_file.h"

#include <memory>

namespace tallyvane {

namespace {
constexpr std::size_t kBlockBytes = 1 << 20;
} // namespace

void appendEntriesFromFile(ListView& list, const QString& path) {
    RegularFile file(path);
    appendEntriesFromFile(list, file);
}

void appendEntriesFromFile(ListView& list, RegularFile& file) {
    const auto block = std::make_unique_for_overwrite<char[]>(kBlockBytes);
    EntrySplitter splitter(list);
    while (const std::size_t got = file.read(block.get(), kBlockBytes))
        splitter.feed(block.get(), got);
    splitter.finish();
}

} // namespace tallyvane
