#include "bench_file_load.h"

#include "bench_util.h"
#include "entries/file_loading.h"
#include "lists/list_model.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <stdexcept>

namespace tallyvane::bench {

namespace {

// Entry lists as people keep them: numbers in several shapes, codes, state
// codes and names, a name outside ASCII, the odd blank line.
constexpr std::array<const char*, 10> kTexts{
    "603-237-4934", "1-201-555-0142",        "(212) 555-0199",  "603",
    "nh",           "New Hampshire",         "+1 732 555 0100", "",
    "609",          "S\xC3\xA3o Tom\xC3\xA9"};
// Mostly Windows line ends, with Unix and old Mac ones mixed in.
constexpr std::array<const char*, 4> kLineEnds{"\r\n", "\r\n", "\n", "\r"};

QString writeEntryFile(const QTemporaryDir& dir, int lines) {
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 14);
    for (int i = 0; i < lines; ++i) {
        bytes += kTexts[std::size_t(i) % kTexts.size()];
        // The last line end is CR LF, so that N lines give exactly N entries.
        bytes += i + 1 == lines ? "\r\n" : kLineEnds[std::size_t(i / 3) % kLineEnds.size()];
    }
    const QString path = dir.filePath(QStringLiteral("entries.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the entry file");
    return path;
}

} // namespace

void benchFileLoad(int lines) {
    static int argc = 1;
    static char name[] = "tallyvane_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // the list model's announcement timer needs one
    QTemporaryDir dir;
    if (!dir.isValid())
        throw std::runtime_error("no temporary folder");
    const QString path = writeEntryFile(dir, lines);

    testing::FakePrompts prompts;
    refuseMessages(prompts);
    ListModel list;
    list.addColumn(QStringLiteral("States or Area Codes"));
    QElapsedTimer timer;
    timer.start();
    LoadListFromFile(prompts, list, path);
    list.announcePendingRows();
    const qint64 ns = timer.nsecsElapsed();
    if (list.count() != lines)
        throw std::runtime_error("the load gave a different number of entries");
    std::printf("file load: %d lines in %.1f ms (%.0f ns/line)\n", lines, double(ns) / 1e6,
                lines > 0 ? double(ns) / lines : 0.0);
    std::fflush(stdout);
}

} // namespace tallyvane::bench
