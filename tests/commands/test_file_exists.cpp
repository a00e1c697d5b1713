// FileExists answers for any path without failing: a file, nothing there, a
// missing folder, an empty path and one that no file system takes.
#include "commands/file_exists.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tallyvane;

class TestFileExists : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileExistsAnswersWithoutFailing() {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("list.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(FileExists(file.fileName()));
        QVERIFY(!FileExists(folder.filePath(QStringLiteral("missing.txt"))));
        QVERIFY(!FileExists(folder.filePath(QStringLiteral("no/such/folder/list.txt"))));
        QVERIFY(!FileExists(QString()));
        QVERIFY(!FileExists(QString::fromUtf8("bad\0path", 8)));
    }
};

QTEST_GUILESS_MAIN(TestFileExists)
#include "test_file_exists.moc"
