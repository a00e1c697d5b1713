// Two threads give the bytes one thread gives, in each format they serve: files whose lines end on
// every side of every block boundary, with CR LF split across two blocks, lone CRs, blank lines,
// lines longer than a block and no final line end.
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

// What converting the file gives, on one thread or on two.
QByteArray converted(const AreaCodeTable& codes, const QString& path, Direction direction,
                     Format format, std::size_t twoThreadBlock) {
    QTemporaryDir dir;
    const QString outPath = dir.filePath(QStringLiteral("out"));
    const int in = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    const int outFd = ::open(QFile::encodeName(outPath).constData(), O_WRONLY | O_CREAT, 0600);
    {
        ByteOutput out(outFd, 64);
        if (twoThreadBlock > 0) {
            ParallelLines(codes, direction, format, true, out, twoThreadBlock).readAll(in);
        } else {
            LineConverter converter(codes, direction, format, out, true);
            LineReader(converter, 1 << 20).readAll(in);
        }
        out.close();
    }
    ::close(in);
    QFile result(outPath);
    return result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray();
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
                    const QByteArray two =
                        converted(codes, path, direction, format, std::size_t(block));
                    if (one != two)
                        QFAIL(qPrintable(QStringLiteral("block %1, text %2: %3 against %4")
                                             .arg(block)
                                             .arg(QString::fromLatin1(text.toPercentEncoding()),
                                                  QString::fromLatin1(two.toPercentEncoding()),
                                                  QString::fromLatin1(one.toPercentEncoding()))));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestParallelLines)
#include "test_parallel_lines.moc"
