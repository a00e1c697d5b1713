// The line-end map, whatever vector width the processor gives it: for texts
// of every size around a vector's and a word's width, with line ends at their
// first and last bytes, the map holds exactly the LF and CR bytes, and the
// bits past the text's end are clear (the reader walks whole words).
#include "batch/line_ends.h"

#include <QRandomGenerator>
#include <QTest>

#include <string>
#include <vector>

using namespace tallyvane::batch;

class TestLineEnds : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mapsEveryLfAndCrAndNothingElse() {
        QRandomGenerator random(20261209);
        const std::string alphabet = "0123456789-() +\n\r\t\x8a\x8d";
        for (std::size_t size = 0; size <= 200; ++size) {
            std::string text(size, ' ');
            for (char& c : text)
                c = alphabet[random.bounded(int(alphabet.size()))];
            if (size > 0)
                text.front() = text.back() = '\n';
            // Stale bits from an earlier, longer text must not survive.
            std::vector<std::uint64_t> bits(lineEndWords(size) + 1, ~std::uint64_t(0));
            markLineEnds(text.data(), size, bits.data());
            for (std::size_t i = 0; i < lineEndWords(size) * 64; ++i) {
                const bool marked = (bits[i / 64] >> (i % 64)) & 1;
                const bool lineEnd = i < size && (text[i] == '\n' || text[i] == '\r');
                if (marked != lineEnd)
                    QFAIL(qPrintable(QStringLiteral("size %1, byte %2").arg(size).arg(i)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestLineEnds)
#include "test_line_ends.moc"
