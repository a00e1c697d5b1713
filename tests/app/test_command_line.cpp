#include "app/command_line.h"
#include "commands/product.h"

#include <QTest>

using namespace tallyvane;
using Action = CommandLine::Action;

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void actions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QStringList>("files");
        const auto row = [](const char* name, const QStringList& arguments, Action action,
                            const QStringList& files = {}) {
            QTest::newRow(name) << arguments << int(action) << files;
        };
        row("nothing", {}, Action::OpenWindow);
        row("files in order", {"b.txt", "a.txt", "-"}, Action::OpenWindow, {"b.txt", "a.txt", "-"});
        row("help wins over files", {"a.txt", "--help"}, Action::Help);
        row("short help", {"-h"}, Action::Help);
        row("version", {"--version"}, Action::Version);
        row("self-test", {"--self-test"}, Action::SelfTest);
        row("Qt's options pass", {"-platform", "xcb", "--style=fusion", "-reverse", "x.txt"},
            Action::OpenWindow, {"x.txt"});
        row("after -- everything is a file", {"--", "--help", "-x"}, Action::OpenWindow,
            {"--help", "-x"});
        row("unknown", {"a.txt", "--frobnicate"}, Action::Mistake);
        row("a flag given a value", {"-reverse=yes"}, Action::Mistake);
        row("a Qt option without its value", {"-platform"}, Action::Mistake);
    }
    void actions() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QStringList, files);
        const CommandLine line = parseCommandLine(arguments);
        QCOMPARE(int(line.action), action);
        if (line.action == Action::OpenWindow)
            QCOMPARE(line.files, files);
        else if (line.action == Action::Mistake)
            QVERIFY(line.mistake.contains(arguments.last()));
    }

    void versionNamesTheTableDate() {
        QVERIFY(versionText().contains(kAreaCodeTableCurrentTo));
        QVERIFY(versionText().startsWith(QStringLiteral("tallyvane " TALLYVANE_VERSION "\n")));
        QVERIFY(usageText().startsWith(QStringLiteral("Usage: tallyvane ")));
    }
};

QTEST_APPLESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
