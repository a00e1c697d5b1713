// The settings file as the window writes it: a file that is not settings,
// reached directly or through a link, is kept aside and never overwritten,
// and the report says where it went.
#include "platform/failure.h"
#include "platform/qt/qt_settings_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tallyvane;

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("could not write %s", qPrintable(path));
}

} // namespace

class TestQtSettingsStore : public QObject {
    Q_OBJECT
    QTemporaryDir home;
    QString file() const { return home.filePath(QStringLiteral("Veltmark/Tallyvane.conf")); }

private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Veltmark")));
    }
    void init() {
        for (const QString& name :
             QDir(home.filePath(QStringLiteral("Veltmark"))).entryList(QDir::Files | QDir::System))
            QFile::remove(home.filePath(QStringLiteral("Veltmark/") + name));
    }

    // What is there already: nothing to lose, or something that is no
    // settings file and must be kept as it was.
    void aFileThatIsNoSettingsIsKeptAside_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("throughALink");
        QTest::addColumn<bool>("keptAside");
        const QByteArray notes = "shopping list\nmilk\neggs\n";
        QTest::newRow("no file yet") << QByteArray() << false << false;
        QTest::newRow("our own settings")
            << QByteArray("[Tallyvane]\nConvert Option=1\n") << false << false;
        QTest::newRow("text that is no settings") << notes << false << true;
        QTest::newRow("binary bytes") << QByteArray("\x7f"
                                                    "ELF\0\0\1",
                                                    7)
                                      << false << true;
        QTest::newRow("a link to text that is no settings") << notes << true << true;
    }
    void aFileThatIsNoSettingsIsKeptAside() {
        QFETCH(QByteArray, before);
        QFETCH(bool, throughALink);
        QFETCH(bool, keptAside);
        const QString other = home.filePath(QStringLiteral("other.txt"));
        if (throughALink) {
            write(other, before);
            QVERIFY(QFile::link(other, file()));
        } else if (!before.isEmpty()) {
            write(file(), before);
        }
        QtSettingsStore store;
        QString report;
        try {
            store.write(QStringLiteral("Veltmark"), QStringLiteral("Tallyvane"),
                        QStringLiteral("Convert Option"), QStringLiteral("2"));
        } catch (const Failure& failure) {
            report = failure.description();
        }
        QCOMPARE(store.read(QStringLiteral("Veltmark"), QStringLiteral("Tallyvane"),
                            QStringLiteral("Convert Option"), QString()),
                 QStringLiteral("2"));
        const QString aside = file() + QStringLiteral(".unreadable");
        QCOMPARE(QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(), keptAside);
        QCOMPARE(report.isEmpty(), !keptAside);
        if (keptAside) {
            QVERIFY2(report.contains(aside), qPrintable(report));
            QCOMPARE(contentOf(aside), before);
        }
        if (throughALink)
            QCOMPARE(contentOf(other), before);
    }

    // A FIFO, a folder or a device in the file's place is moved aside before
    // it is opened (opening a FIFO would wait for ever), and reported; a
    // second such file goes beside the first, never over it.
    void whatIsNoRegularFileIsMovedAsideUnopened() {
        QVERIFY(::mkfifo(QFile::encodeName(file()).constData(), 0600) == 0);
        write(file() + QStringLiteral(".unreadable"), "kept from before");
        QtSettingsStore store;
        QString report;
        try {
            store.read(QStringLiteral("Veltmark"), QStringLiteral("Tallyvane"),
                       QStringLiteral("Convert Option"), QString());
        } catch (const Failure& failure) {
            report = failure.description();
        }
        const QString aside = file() + QStringLiteral(".unreadable.2");
        QVERIFY2(report.contains(aside), qPrintable(report));
        QVERIFY(QFileInfo(aside).exists() && !QFileInfo(aside).isFile());
        QCOMPARE(contentOf(file() + QStringLiteral(".unreadable")), QByteArray("kept from before"));
        store.write(QStringLiteral("Veltmark"), QStringLiteral("Tallyvane"),
                    QStringLiteral("Convert Option"), QStringLiteral("1"));
        QCOMPARE(store.read(QStringLiteral("Veltmark"), QStringLiteral("Tallyvane"),
                            QStringLiteral("Convert Option"), QString()),
                 QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TestQtSettingsStore)
#include "test_qt_settings_store.moc"
