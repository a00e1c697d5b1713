#include "app/help_command.h"
#include "commands/product.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kFormat =
    QStringLiteral("Entries should look like: New York, NY (with a comma separating city and "
                   "state) or 03053. Please email support@tallyvane.example if you have any "
                   "questions.");
const QString kOffer = QStringLiteral("Would you like to read the online help file?");

QString placeHelpPage(const QString& folder) {
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/help.html");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("<html></html>") < 0)
        qFatal("cannot write the help page");
    return path;
}

} // namespace

class TestHelpCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void messagesInOrderAndNoOpensNothing() {
        FakePlatform p;
        p.prompts.answers = {MessageAnswer::No};
        PushButton8_Click(p.prompts, p.browser, p.programFolder);
        QCOMPARE(p.prompts.texts(), QStringList({kFormat, kOffer}));
        QCOMPARE(p.prompts.shown[0].style, 0);
        QCOMPARE(p.prompts.shown[1].style, 4);
        QCOMPARE(p.prompts.shown[0].title, QStringLiteral("Tallyvane"));
        QCOMPARE(p.prompts.shown[1].title, QStringLiteral("Tallyvane"));
        QVERIFY(p.browser.opened.isEmpty());
    }

    void yesOpensThePageBesideTheProgram() {
        QTemporaryDir dir;
        FakePlatform p;
        p.programFolder = dir.filePath(QStringLiteral("bin"));
        const QString page = placeHelpPage(p.programFolder);
        placeHelpPage(dir.filePath(QStringLiteral("share/tallyvane"))); // not preferred
        p.prompts.answers = {MessageAnswer::Yes};
        PushButton8_Click(p.prompts, p.browser, p.programFolder);
        QCOMPARE(p.browser.opened, QStringList{QStringLiteral("file://") + page});
        QCOMPARE(p.prompts.texts(), QStringList({kFormat, kOffer}));
    }

    void noBrowserToStartNamesThePageInOneBox() {
        QTemporaryDir dir;
        FakePlatform p;
        p.programFolder = dir.path();
        const QString page = placeHelpPage(dir.path());
        p.browser.answer = false;
        p.prompts.answers = {MessageAnswer::Yes};
        PushButton8_Click(p.prompts, p.browser, p.programFolder);
        QCOMPARE(p.prompts.shown.size(), size_t(3));
        QCOMPARE(p.prompts.shown[2].style, 48);
        QVERIFY(p.prompts.shown[2].text.endsWith(QStringLiteral("\r\n") + page));
        QCOMPARE(p.prompts.shown[2].title, QStringLiteral("Tallyvane"));
    }

    void anInstalledProgramFindsThePageInItsDataFolder() {
        QTemporaryDir dir;
        FakePlatform p;
        p.programFolder = dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(p.programFolder);
        const QString page = placeHelpPage(dir.filePath(QStringLiteral("share/tallyvane")));
        p.prompts.answers = {MessageAnswer::Yes};
        PushButton8_Click(p.prompts, p.browser, p.programFolder);
        QCOMPARE(p.browser.opened, QStringList{QStringLiteral("file://") + page});
    }

    void theBuiltProgramHasItsPage() {
        const QString folder = QStringLiteral(TALLYVANE_BINARY_DIR "/bin");
        QCOMPARE(helpPageAddress(folder), QStringLiteral("file://") + folder + "/help.html");
    }

    void aFailingFirstBoxStillShowsTheOffer() {
        FakePlatform p;
        p.prompts.failNextMessageBoxes = 1;
        p.prompts.answers = {MessageAnswer::No};
        PushButton8_Click(p.prompts, p.browser, p.programFolder);
        QCOMPARE(p.prompts.shown.size(), size_t(2));
        QCOMPARE(p.prompts.shown[0].title, QStringLiteral("Application Error"));
        QVERIFY(p.prompts.shown[0].text.contains(
            QStringLiteral("in Brisquet2021/08/31.Form1.PushButton8_Click at line 100\r\r")));
        QCOMPARE(p.prompts.shown[1].text, kOffer);
        QVERIFY(p.browser.opened.isEmpty());
    }

    void aFailingOfferCountsAsYes() {
        QTemporaryDir dir;
        FakePlatform p;
        p.programFolder = dir.path();
        const QString page = placeHelpPage(dir.path());
        p.prompts.onShow = [&](const ShownMessage& m) {
            if (m.text == kFormat)
                p.prompts.failNextMessageBoxes = 1;
        };
        PushButton8_Click(p.prompts, p.browser, p.programFolder);
        const auto reports = p.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.contains(QStringLiteral("PushButton8_Click at line 102\r\r")));
        QCOMPARE(p.browser.opened, QStringList{QStringLiteral("file://") + page});
    }

    void aMissingPageIsReportedAtLine104() {
        FakePlatform p; // its program folder does not exist
        p.prompts.answers = {MessageAnswer::Yes};
        PushButton8_Click(p.prompts, p.browser, p.programFolder);
        const auto reports = p.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.startsWith(
            QStringLiteral("File not found: /nonexistent/program-folder/help.html\r\n")));
        QVERIFY(reports[0].text.contains(QStringLiteral("at line 104\r\r")));
        QVERIFY(p.browser.opened.isEmpty());
    }

    void theShippedPageIsSelfContained() {
        QFile file(QStringLiteral(TALLYVANE_SOURCE_DIR "/docs/help.html"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll());
        QVERIFY(page.contains(kSupportAddress));
        QVERIFY2(page.contains(kAreaCodeTableCurrentTo), "the date the table is current to");
        // Where the window puts its lists, and the rules people trip over.
        for (const char* truth : {"upper list", "lower list", "lone LF", "CR LF", "refused",
                                  "Clear Results</b> during a conversion"})
            QVERIFY2(page.contains(QString::fromLatin1(truth)), truth);
        QVERIFY(!page.contains(QStringLiteral("on the left")));
        for (const char* topic :
             {"area code", "Convert Area Codes To States", "Convert States To Area Codes",
              "one entry per line", "Save Results As Text File", "Save Results As Excel File",
              "Copy Results To Clipboard"})
            QVERIFY2(page.contains(QString::fromLatin1(topic), Qt::CaseInsensitive), topic);
        // Nothing is fetched from elsewhere: no scripts, images or style sheets by address.
        static const QRegularExpression external(
            QStringLiteral("(src|href)\\s*=\\s*[\"']?(https?:|//)"),
            QRegularExpression::CaseInsensitiveOption);
        QVERIFY(!page.contains(external));
        QVERIFY(!page.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
        QVERIFY(!page.contains(QStringLiteral("@import"), Qt::CaseInsensitive));
    }
};

QTEST_GUILESS_MAIN(TestHelpCommand)
#include "test_help_command.moc"
