#include "lists/row_table.h"
#include "lists/text_store.h"

#include <QTest>

#include <cstdlib>
#include <new>

using namespace tallyvane;

namespace {
// Counts down the allocations of operator new; the one that reaches zero fails.
int allocationsUntilFailure = -1;
} // namespace

void* operator new(std::size_t size) {
    if (allocationsUntilFailure > 0 && --allocationsUntilFailure == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

QStringList texts(const RowTable& rows) {
    QStringList all;
    for (std::size_t i = 0; i < rows.size(); ++i)
        all << rows.text(i) + QLatin1Char('|') + rows.subItem(i, 1) + QLatin1Char('|') +
                   QString::number(rows.originPosition(i)) + rows.originText(i, -1);
    return all;
}

} // namespace

class TestRowTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textsComeBackAsStored_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("7 Latin-1, in the handle") << QStringLiteral("Zürich7");
        QTest::newRow("8 Latin-1, in a block") << QStringLiteral("NEW YORK");
        QTest::newRow("wider than Latin-1") << QStringLiteral("東京 03");
        QTest::newRow("a surrogate pair") << QStringLiteral("NH \U0001F600");
        QTest::newRow("long Latin-1") << QString(300, QLatin1Char('\xE9'));
        QTest::newRow("longer than a block") << QString((1 << 20) + 3, QChar(0x100));
    }
    void textsComeBackAsStored() {
        QFETCH(QString, text);
        TextStore store;
        const TextStore::Handle before = store.add(QStringLiteral("neighbour text"));
        const TextStore::Handle handle = store.add(text);
        const TextStore::Handle after = store.add(QStringLiteral("x"));
        QCOMPARE(store.text(handle), text);
        QCOMPARE(store.size(handle), text.size());
        QVERIFY(store.equals(handle, text));
        QCOMPARE(store.text(handle, 5), text.left(5));
        QCOMPARE(store.text(before), QStringLiteral("neighbour text"));
        QCOMPARE(store.text(after), QStringLiteral("x"));
    }

    // Each row keeps the row it came from, whatever the lists it came from do
    // later, also once more lists have lent texts than a handle can name.
    void originsOutliveTheirListsPastTheTagLimit() {
        RowTable results;
        std::vector<QString> expected;
        {
            std::vector<RowTable> sources(RowTable::kOriginStoreLimit + 3);
            for (std::size_t i = 0; i < sources.size(); ++i) {
                sources[i].append(QStringLiteral("entry number %1 of its list").arg(i));
                results.setNextOrigin(sources[i].sharedText(0), int(i) + 1);
                results.append(QStringLiteral("NH"));
                expected.push_back(sources[i].text(0));
                sources[i].clear();
            }
            results.setNextOrigin({nullptr, 0, QStringLiteral("a copied entry")}, 9);
            results.append(QStringLiteral("NJ"));
            expected.push_back(QStringLiteral("a copied entry"));
        }
        QCOMPARE(results.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            QCOMPARE(results.originText(i, -1), expected[i]);
        QCOMPARE(results.originPosition(expected.size() - 1), 9);
        results.erase(0);
        QCOMPARE(results.originText(0, -1), expected[1]);
        QCOMPARE(results.originPosition(0), 2);
    }

    // An append that runs out of memory at any of its allocations, in any
    // container, leaves the table as it was, and the origin waits for the
    // next append.
    void anAppendThatFailsPartWayChangesNothing() {
        RowTable source;
        source.append(QStringLiteral("1-603-237-4934"));
        RowTable rows;
        const QStringList subItems{QStringLiteral("second column")};
        int failures = 0;
        for (int row = 0; row < 200; ++row) {
            const QStringList before = texts(rows);
            const QString text = QStringLiteral("row %1 of the table").arg(row);
            for (int failAt = 1;; ++failAt) {
                rows.setNextOrigin(source.sharedText(0), row % 3 ? 1 : 0);
                allocationsUntilFailure = failAt;
                try {
                    rows.append(text, row % 2 == 0, row % 5 ? nullptr : &subItems);
                    allocationsUntilFailure = -1;
                    break;
                } catch (const std::bad_alloc&) {
                    allocationsUntilFailure = -1;
                    ++failures;
                    QCOMPARE(texts(rows), before);
                }
            }
            QCOMPARE(rows.text(rows.size() - 1), text);
            QCOMPARE(rows.checked(rows.size() - 1), row % 2 == 0);
            QCOMPARE(rows.subItem(rows.size() - 1, 1), row % 5 ? QString() : subItems[0]);
            QCOMPARE(rows.originText(rows.size() - 1, -1), row % 3 ? source.text(0) : QString());
        }
        QVERIFY2(failures > 20, "the appends should have allocated in every container");
    }
};

QTEST_GUILESS_MAIN(TestRowTable)
#include "test_row_table.moc"
