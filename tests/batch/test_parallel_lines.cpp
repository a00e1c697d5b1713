// Several threads give the bytes one thread gives, in each format they serve: files whose lines
// end on every side of every chunk boundary, with CR LF at a boundary, lone CRs, blank lines,
// lines longer than a chunk, no final line end, and a start past the file's first byte.
#include "batch/byte_output.h"
#include "batch/line_converter.h"
#include "batch/line_reader.h"
#include "batch/parallel_lines.h"
#include "conversion/area_code_table.h"
#include "support/fakes.h"
#include "support/temp_files.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

using namespace tallyvane;
using namespace tallyvane::batch;
using namespace tallyvane::testing;

namespace {

AreaCodeTable table() {
    FakeAreaCodeDatabase db;
    db.addRow("603", "NH", "New Hampshire");
    db.addRow("201", "NJ", "New Jersey");
    db.addRow("867", "NT", "Northwest Territories");
    db.addRow("867", "YT", "Yukon");
    return AreaCodeTable::read(*db.open());
}

// What converting the file from `skip` on gives, on one thread or on several
// (chunk > 0); the input's offset must be left at its end either way.
QByteArray converted(const AreaCodeTable& codes, const QString& path, Direction direction,
                     Format format, std::size_t chunk, int threads = 2, off_t skip = 0,
                     std::size_t heldBack = ParallelLines::kHeldBack) {
    QTemporaryDir dir;
    const QString outPath = dir.filePath(QStringLiteral("out"));
    const int in = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    const int outFd = ::open(QFile::encodeName(outPath).constData(), O_WRONLY | O_CREAT, 0600);
    ::lseek(in, skip, SEEK_SET);
    {
        ByteOutput out(outFd, 64);
        if (chunk > 0) {
            ParallelLines({codes, direction, format, true}, out, chunk, threads, heldBack)
                .readAll(in);
        } else {
            LineConverter converter(codes, direction, format, out, true);
            LineReader(converter, 1 << 20).readAll(in);
        }
        out.close();
    }
    const bool atEnd = ::lseek(in, 0, SEEK_CUR) == ::lseek(in, 0, SEEK_END);
    ::close(in);
    QFile result(outPath);
    return atEnd && result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray("not at end");
}

void compare(const QByteArray& one, const QByteArray& many, const QByteArray& text, int chunk) {
    if (one != many)
        QFAIL(qPrintable(QStringLiteral("chunk %1, text %2: %3 against %4")
                             .arg(chunk)
                             .arg(QString::fromLatin1(text.toPercentEncoding()),
                                  QString::fromLatin1(many.toPercentEncoding()),
                                  QString::fromLatin1(one.toPercentEncoding()))));
}

} // namespace

class TestParallelLines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoThreadsGiveWhatOneGives() {
        const AreaCodeTable codes = table();
        QRandomGenerator random(20261209);
        const QByteArrayList pieces = {"603", "1-201-555-0100",   "867-5309",       "NH",
                                       "",    "+44 20 7946 0958", "(867) 555 0100", "New Jersey"};
        const QByteArrayList ends = {"\n", "\r\n", "\r"};
        QTemporaryDir dir;
        for (const int block : {7, 13, 16, 24, 32, 48, 64, 100}) {
            for (int round = 0; round < 20; ++round) {
                QByteArray text;
                while (text.size() < qsizetype(block) * 12) {
                    QByteArray line = pieces[int(random.bounded(pieces.size()))];
                    if (random.bounded(12) == 0) // longer than a block
                        line += QByteArray(block + int(random.bounded(block)), '5');
                    text += line + ends[random.bounded(10) == 0 ? int(random.bounded(3)) : 0];
                }
                if (round % 2 == 1)
                    text.chop(1); // no line end at the end
                const QString path = writeFile(dir, QStringLiteral("lines.txt"), text);
                const Direction direction =
                    round % 4 < 2 ? Direction::AreaCodesToStates : Direction::StatesToAreaCodes;
                for (const Format format : {Format::Results, Format::Tsv, Format::Csv}) {
                    const QByteArray one = converted(codes, path, direction, format, 0);
                    // Some rounds let a chunk hold back almost nothing, so
                    // that it waits for its turn and writes as it goes.
                    compare(one,
                            converted(codes, path, direction, format, std::size_t(block),
                                      2 + round % 2, 0, round % 3 == 0 ? 8 : 1 << 20),
                            text, block);
                }
            }
        }
    }

    // Lines of every length up to past a chunk put their LF (or CR LF) on
    // every byte before, at and after each chunk boundary; the file is also
    // read from an offset that is not a line start, as when a script has
    // read its first bytes already.
    void everyBoundaryAndOffset() {
        const AreaCodeTable codes = table();
        QTemporaryDir dir;
        constexpr qsizetype kChunk = 16;
        for (const char* end : {"\n", "\r\n"}) {
            for (int length = 0; length <= 2 * kChunk + 1; ++length) {
                QByteArray text;
                for (int line = 0; text.size() < 8 * kChunk; ++line)
                    text += (QByteArray::number(603 + line % 2) + "5550100" +
                             QByteArray(2 * kChunk, '1'))
                                .left(length) +
                            end;
                const QString path = writeFile(dir, QStringLiteral("lines.txt"), text);
                for (const off_t skip : {off_t(0), off_t(1), off_t(kChunk + 1)})
                    compare(converted(codes, path, Direction::AreaCodesToStates, Format::Tsv, 0, 1,
                                      skip),
                            converted(codes, path, Direction::AreaCodesToStates, Format::Tsv,
                                      kChunk, 2, skip),
                            text, kChunk);
            }
        }
    }

    // A write that fails in any thread (here: a full disk) ends the run with
    // that failure on the calling thread; no thread is left waiting for a
    // turn that never comes.
    void aFailedWriteEndsEveryThread() {
        const AreaCodeTable codes = table();
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("lines.txt"),
                                       QByteArray("603-237-4934\nNH\n").repeated(4096));
        for (const int threads : {2, 3}) {
            const int in = ::open(QFile::encodeName(path).constData(), O_RDONLY);
            const int full = ::open("/dev/full", O_WRONLY);
            QVERIFY(in >= 0 && full >= 0);
            int failed = 0;
            try {
                ByteOutput out(full, 64);
                ParallelLines({codes, Direction::AreaCodesToStates, Format::Tsv, false}, out, 512,
                              threads, 64)
                    .readAll(in);
                out.close();
            } catch (const OutputFailed& failure) {
                failed = failure.errorNumber;
            }
            ::close(in);
            QCOMPARE(failed, ENOSPC);
        }
    }

    // A pipe, a small file and a file read from near its end stay on one
    // thread (a pipe's results must come line by line); the environment sets
    // the count of a large one.
    void threadsFollowTheInput() {
        QTemporaryDir dir;
        const QString big = writeFile(dir, QStringLiteral("big.txt"),
                                      QByteArray(qsizetype(5 * ParallelLines::kChunkSize), '\n'));
        const QString small = writeFile(dir, QStringLiteral("small.txt"), "603\n");
        int pipeEnds[2];
        QVERIFY(::pipe(pipeEnds) == 0);
        const auto threads = [](const QString& path, off_t at, const char* asked) {
            qputenv("TALLYVANE_CONVERT_THREADS", asked);
            const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
            ::lseek(fd, at, SEEK_SET);
            const int count = threadsFor(fd);
            ::close(fd);
            return count;
        };
        QCOMPARE(threads(big, 0, "3"), 3);
        QCOMPARE(threads(big, 0, "1"), 1);
        QCOMPARE(threads(small, 0, "3"), 1);
        QCOMPARE(threads(big, off_t(4 * ParallelLines::kChunkSize), "3"), 1);
        qputenv("TALLYVANE_CONVERT_THREADS", "3");
        QCOMPARE(threadsFor(pipeEnds[0]), 1);
        qunsetenv("TALLYVANE_CONVERT_THREADS");
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
    }
};

QTEST_GUILESS_MAIN(TestParallelLines)
#include "test_parallel_lines.moc"
