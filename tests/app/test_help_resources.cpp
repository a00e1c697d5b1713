// What the help page may load: files beside it, and nothing that would make
// the window read without end, wait for ever, or show a file from elsewhere.
#include "app/help_resources.h"
#include "support/temp_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tallyvane;
using namespace tallyvane::testing;

class TestHelpResources : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void onlyRegularFilesBesideThePage() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("help/images")));
        const QString help = dir.filePath(QStringLiteral("help"));
        writeFile(dir, QStringLiteral("help/images/map.png"), "PNG");
        writeFile(dir, QStringLiteral("secret.txt"), "not for the page");
        // A sibling folder whose name begins with the page folder's.
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("help-old")));
        writeFile(dir, QStringLiteral("help-old/map.png"), "OLD");
        writeFile(dir, QStringLiteral("help/huge.bin"),
                  QByteArray(int(kMostHelpResourceBytes) + 1, 'x'));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("secret.txt")),
                            dir.filePath(QStringLiteral("help/link.txt"))));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("help/fifo"))).constData(),
                          0600),
                 0);
        const struct {
            QUrl name;
            QByteArray bytes;
        } cases[] = {
            {QUrl(QStringLiteral("images/map.png")), "PNG"},
            {QUrl::fromLocalFile(help + QStringLiteral("/images/map.png")), "PNG"},
            {QUrl(QStringLiteral("../secret.txt")), {}},
            {QUrl(QStringLiteral("../help-old/map.png")), {}},
            {QUrl::fromLocalFile(dir.filePath(QStringLiteral("secret.txt"))), {}},
            {QUrl(QStringLiteral("link.txt")), {}},
            {QUrl::fromLocalFile(QStringLiteral("/dev/zero")), {}},
            {QUrl(QStringLiteral("fifo")), {}},
            {QUrl(QStringLiteral("huge.bin")), {}},
            {QUrl(QStringLiteral("https://example.com/x.png")), {}},
        };
        // A FIFO that were opened would never answer: the test would hang.
        for (const auto& c : cases)
            QCOMPARE(helpResource(help, c.name), c.bytes);
    }
};

QTEST_GUILESS_MAIN(TestHelpResources)
#include "test_help_resources.moc"
