#include "platform/xlsx/folder_tree.h"
#include "platform/xlsx/workbook_folders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <fcntl.h>

using namespace tallyvane;

namespace {

void age(const QString& path, int hours) {
    const time_t when = time(nullptr) - time_t(hours) * 3600;
    const utimbuf times{when, when};
    utime(QFile::encodeName(path).constData(), &times);
}

// A workbook folder with its workbook, both last changed ageHours ago.
QString makeFolder(const QTemporaryDir& temp, const QString& name, int ageHours) {
    const QString path = temp.filePath(name);
    QDir().mkpath(path);
    QFile file(path + QStringLiteral("/Results.xlsx"));
    if (file.open(QIODevice::WriteOnly))
        file.write("PK");
    file.close();
    age(file.fileName(), ageHours);
    age(path, ageHours);
    return path;
}

const QDateTime aDayAgo() {
    return QDateTime::currentDateTime().addDays(-1);
}

} // namespace

class TestWorkbookFolders : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void onlyOldFoldersOfOursThatNothingUsesGo() {
        QTemporaryDir temp;
        const QString old = makeFolder(temp, QStringLiteral("tallyvane-a1B2c3"), 30);
        const QString young = makeFolder(temp, QStringLiteral("tallyvane-d4E5f6"), 2);
        const QString locked = makeFolder(temp, QStringLiteral("tallyvane-g7H8i9"), 30);
        QFile lock(locked + QStringLiteral("/.~lock.Results.xlsx#"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.close();
        age(lock.fileName(), 30); // old like the rest: the lock alone keeps it
        age(locked, 30);
        // A link inside an old folder goes with it; what it names stays.
        const QString outside = temp.filePath(QStringLiteral("outside.txt"));
        QFile target(outside);
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write("keep") == 4);
        target.close();
        QVERIFY(QFile::link(outside, old + QStringLiteral("/link.txt")));
        const time_t then = time(nullptr) - time_t(30) * 3600;
        const timespec longAgo[2] = {{then, 0}, {then, 0}};
        QCOMPARE(::utimensat(AT_FDCWD,
                             QFile::encodeName(old + QStringLiteral("/link.txt")).constData(),
                             longAgo, AT_SYMLINK_NOFOLLOW),
                 0);
        age(old, 30);
        const QString otherName = makeFolder(temp, QStringLiteral("tallyvane-notmine"), 30);
        const QString other = makeFolder(temp, QStringLiteral("other-a1B2c3"), 30);
        QVERIFY(QFile::link(old, temp.filePath(QStringLiteral("tallyvane-LINK00"))));
        QString foreign;
        if (::getuid() == 0) { // only root can give a folder to someone else
            foreign = makeFolder(temp, QStringLiteral("tallyvane-x0Y0z0"), 30);
            QCOMPARE(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
        }

        const QStringList removed = removeStaleWorkbookFolders(temp.path(), aDayAgo());
        QCOMPARE(removed, QStringList{old});
        QVERIFY(!QFileInfo::exists(old));
        QCOMPARE(QFileInfo(outside).size(), 4);
        for (const QString& kept : {young, locked, otherName, other, foreign})
            QVERIFY2(kept.isEmpty() || QFileInfo::exists(kept), qPrintable(kept));
    }

    // An old folder with a file that something still writes to is not stale.
    void aFileStillBeingWrittenKeepsItsFolder() {
        QTemporaryDir temp;
        const QString folder = makeFolder(temp, QStringLiteral("tallyvane-w1R2t3"), 30);
        QDir(folder).mkpath(QStringLiteral("deep/er"));
        QFile log(folder + QStringLiteral("/deep/er/log.txt"));
        QVERIFY(log.open(QIODevice::Append));
        log.write("written a moment ago\n");
        log.close();
        age(folder + QStringLiteral("/deep/er"), 30);
        age(folder + QStringLiteral("/deep"), 30);
        age(folder, 30);
        QVERIFY(removeStaleWorkbookFolders(temp.path(), aDayAgo()).isEmpty());
        age(log.fileName(), 30);
        QCOMPARE(removeStaleWorkbookFolders(temp.path(), aDayAgo()), QStringList{folder});
    }

    // A file system mounted inside an old folder holds someone else's files,
    // and so does a bind mount of a folder of the same file system, which
    // shares its device: the clean-up never enters either, so the folder stays.
    // Where openat2 is missing or filtered, the mount IDs tell the same.
    void aMountInsideIsNeverCrossed_data() {
        QTest::addColumn<bool>("bind");
        QTest::addColumn<bool>("withoutOpenat2");
        QTest::newRow("tmpfs") << false << false;
        QTest::newRow("bind mount of the same file system") << true << false;
        QTest::newRow("tmpfs, without openat2") << false << true;
        QTest::newRow("bind mount, without openat2") << true << true;
    }
    void aMountInsideIsNeverCrossed() {
        QFETCH(bool, bind);
        QFETCH(bool, withoutOpenat2);
        openAsWithoutOpenat2(withoutOpenat2);
        const auto openat2Back = qScopeGuard([] { openAsWithoutOpenat2(false); });
        QTemporaryDir temp;
        const QString folder = makeFolder(temp, QStringLiteral("tallyvane-m0U1n2"), 30);
        const QString mountPoint = folder + QStringLiteral("/elsewhere");
        const QString theirFolder = temp.filePath(QStringLiteral("their-folder"));
        QVERIFY(QDir().mkpath(mountPoint) && QDir().mkpath(theirFolder));
        const QByteArray target = QFile::encodeName(mountPoint);
        const int mounted = bind ? ::mount(QFile::encodeName(theirFolder).constData(),
                                           target.constData(), nullptr, MS_BIND, nullptr)
                                 : ::mount("tmpfs", target.constData(), "tmpfs", 0, "size=1m");
        if (mounted != 0)
            QSKIP(qPrintable(QStringLiteral("could not mount (%1); this test needs root")
                                 .arg(qt_error_string(errno))));
        const auto unmount = qScopeGuard([&] { ::umount2(target.constData(), MNT_DETACH); });
        QFile theirs(mountPoint + QStringLiteral("/their-file.txt"));
        QVERIFY(theirs.open(QIODevice::WriteOnly) && theirs.write("keep me") == 7);
        theirs.close();
        QVERIFY(QDir(mountPoint).mkpath(QStringLiteral("sub")));
        age(theirs.fileName(), 30);
        age(mountPoint + QStringLiteral("/sub"), 30);
        age(mountPoint, 30);
        age(folder, 30);
        QVERIFY(removeStaleWorkbookFolders(temp.path(), aDayAgo()).isEmpty());
        QVERIFY(QFile::exists(theirs.fileName()));
        QVERIFY(QFileInfo(mountPoint + QStringLiteral("/sub")).isDir());
        QVERIFY(!QFile::exists(folder + QStringLiteral("/Results.xlsx"))); // ours went
    }

    void aFolderAProgramWorksInIsInUse() {
        QTemporaryDir temp;
        const QString folder = makeFolder(temp, QStringLiteral("tallyvane-k1L2m3"), 30);
        QVERIFY(!workbookFolderInUse(folder));
        QProcess application; // as the spreadsheet application runs in the folder
        application.setWorkingDirectory(folder);
        application.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(application.waitForStarted());
        QVERIFY(workbookFolderInUse(folder));
        QVERIFY(removeStaleWorkbookFolders(temp.path(), aDayAgo()).isEmpty());
        application.kill();
        application.waitForFinished();

        QProcess reader; // a program that holds the workbook open
        reader.start(QStringLiteral("sh"),
                     {QStringLiteral("-c"), QStringLiteral("exec 3<\"$0\"; exec sleep 30"),
                      folder + QStringLiteral("/Results.xlsx")});
        QVERIFY(reader.waitForStarted());
        QTRY_VERIFY(workbookFolderInUse(folder));
        reader.kill();
        reader.waitForFinished();
        QCOMPARE(removeStaleWorkbookFolders(temp.path(), aDayAgo()), QStringList{folder});
    }
};

QTEST_GUILESS_MAIN(TestWorkbookFolders)
#include "test_workbook_folders.moc"
