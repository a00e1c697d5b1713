#include "conversion/entry_progress.h"

#include <QTest>

using namespace tallyvane;

class TestEntryProgress : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theNameAfterTheLastSlashCutToAFewHundredCharacters() {
        QCOMPARE(progressTextFor(QStringLiteral("603")), QStringLiteral("Processing: 603"));
        QCOMPARE(progressTextFor(QString()), QStringLiteral("Processing: "));
        QCOMPARE(progressTextFor(QStringLiteral("a/b/New Hampshire")),
                 QStringLiteral("Processing: New Hampshire"));
        QCOMPARE(progressTextFor(QStringLiteral("ends in /")), QStringLiteral("Processing: "));
        QCOMPARE(progressTextFor(QStringLiteral("/x")), QStringLiteral("Processing: x"));
        // Slashes at every distance from the end of a long text.
        for (int tail = 0; tail < 40; ++tail) {
            const QString text = QString(100, QLatin1Char('/')) + QString(tail, QLatin1Char('7'));
            QCOMPARE(progressTextFor(text), QStringLiteral("Processing: ") + text.right(tail));
        }
        const QString name = QStringLiteral("1-603-555-0142, ").repeated(100'000);
        const QString shown = progressTextFor(QStringLiteral("folder/") + name);
        QCOMPARE(shown.size(), 12 + kLongestProgressEntry + 1);
        QVERIFY(shown.endsWith(QChar(0x2026)));
        QCOMPARE(shown.mid(12, kLongestProgressEntry), name.left(kLongestProgressEntry));
    }
};

QTEST_GUILESS_MAIN(TestEntryProgress)
#include "test_entry_progress.moc"
