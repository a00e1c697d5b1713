#include "platform/memory_left.h"
#include "support/temp_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {
constexpr qint64 MB = 1'000'000;
} // namespace

class TestMemoryLeft : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A made-up cgroup tree: "path/file=value" entries below the root.
    void theTightestGroupOnThePathCounts_data() {
        QTest::addColumn<QByteArray>("groups");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<qint64>("left");
        const QByteArray desktop = "0::/user.slice/user-1000.slice/app.slice/tallyvane.scope\n";
        const QString app = QStringLiteral("user.slice/user-1000.slice/app.slice/tallyvane.scope/");
        QTest::newRow("v2, the application's own scope")
            << desktop
            << QStringList{app + "memory.max=1500000000", app + "memory.current=200000000"}
            << 1300 * MB;
        QTest::newRow("v2, memory.high is tighter than memory.max")
            << desktop
            << QStringList{app + "memory.max=1500000000", app + "memory.high=1000000000",
                           app + "memory.current=200000000"}
            << 800 * MB;
        QTest::newRow("v2, a slice further up is tighter")
            << desktop
            << QStringList{app + "memory.max=max", app + "memory.current=200000000",
                           "user.slice/memory.max=4000000000",
                           "user.slice/memory.current=3900000000"}
            << 100 * MB;
        QTest::newRow("v2, no limit anywhere")
            << desktop << QStringList{app + "memory.max=max", app + "memory.high=max"}
            << qint64(kNoMemoryLimit);
        QTest::newRow("v1, the memory hierarchy")
            << QByteArray("5:cpu,cpuacct:/a\n4:memory:/box/job\n0::/\n")
            << QStringList{"memory/box/job/memory.limit_in_bytes=500000000",
                           "memory/box/job/memory.usage_in_bytes=100000000",
                           "memory/memory.limit_in_bytes=9223372036854771712"}
            << 400 * MB;
        // Page cache that the kernel gives back at once is not used memory.
        QTest::newRow("v2, inactive file pages are free")
            << desktop
            << QStringList{app + "memory.max=4000000000", app + "memory.current=3900000000",
                           app + "memory.stat=active_file 100\ninactive_file 3000000000\n"}
            << 3100 * MB;
        QTest::newRow("v1, inactive file pages are free")
            << QByteArray("4:memory:/box\n")
            << QStringList{"memory/box/memory.limit_in_bytes=500000000",
                           "memory/box/memory.usage_in_bytes=450000000",
                           "memory/box/memory.stat=inactive_file 1\ntotal_inactive_file "
                           "200000000\n"}
            << 250 * MB;
        QTest::newRow("used beyond the limit leaves nothing")
            << desktop << QStringList{app + "memory.max=100", app + "memory.current=200"}
            << qint64(0);
    }
    void theTightestGroupOnThePathCounts() {
        QFETCH(QByteArray, groups);
        QFETCH(QStringList, files);
        QFETCH(qint64, left);
        QTemporaryDir root;
        for (const QString& entry : files) {
            const QString path = entry.section(QLatin1Char('='), 0, 0);
            QVERIFY(QDir(root.path()).mkpath(QFileInfo(path).path()));
            writeFile(root, path, entry.section(QLatin1Char('='), 1).toLatin1());
        }
        QCOMPARE(leftInControlGroups(groups, root.path()), left);
    }
};

QTEST_GUILESS_MAIN(TestMemoryLeft)
#include "test_memory_left.moc"
