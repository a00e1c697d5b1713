#include "batch/line_run.h"

#include "batch/decoded_text.h"
#include "batch/line_converter.h"
#include "batch/line_reader.h"
#include "batch/parallel_lines.h"
#include "batch/run_inputs.h"

#include <optional>

namespace tallyvane::batch {

bool convertLines(const ConvertOptions& options, const AreaCodeTable& table,
                  const ZoneFields& zones, ByteOutput& out, bool inputClosed,
                  AnswerCounts* counts) {
    const LineWork work{table, options.direction, options.format, options.withReason, &zones};
    LineConverter converter(work, out);
    converter.countInto(counts);
    // Made at the first input read on one thread: its block is a megabyte.
    std::optional<LineReader> reader;
    converter.begin();
    // The results of a large file come sooner from several threads; a pipe
    // keeps to one, so that each result goes out as soon as its line has come.
    const bool parallel = options.format != Format::Text && !counts;
    const bool allRead = forEachInput(
        options, inputClosed, [&](int fd, const std::string& file, const FileLooks& looks) {
            if (looks.kind != FileKind::Text)
                return refuseUnlessText(looks, file);
            if (const int threads = parallel && plainTextAt(fd) ? threadsFor(fd) : 1; threads > 1) {
                try {
                    return ParallelLines(work, out, ParallelLines::kChunkSize, threads).readAll(fd);
                } catch (const ParallelLines::NoRoom&) {
                    // read on one thread below, as a pipe is
                }
            }
            if (!reader) {
                reader.emplace(converter, LineReader::blockFor(table));
                reader->setBeforeWaiting([&out] { out.flush(); });
            }
            return reader->readAll(fd);
        });
    converter.finish();
    return allRead;
}

} // namespace tallyvane::batch
