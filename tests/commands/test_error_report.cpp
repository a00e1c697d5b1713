#include "commands/procedure.h"
#include "support/fakes.h"

#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

class TestErrorReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void messageTextAndBox() {
        FakePrompts prompts;
        reportFailure(prompts, QStringLiteral("Disk not ready"),
                      locationText(QStringLiteral("Form1"), QStringLiteral("PushButton17_Click")),
                      110);
        QCOMPARE(prompts.shown.size(), size_t(1));
        QCOMPARE(prompts.shown[0].text,
                 QStringLiteral("Disk not ready\r\nin Brisquet2021/08/31.Form1.PushButton17_Click "
                                "at line 110\r\rPlease email screenshot of this message to "
                                "support@tallyvane.example"));
        QCOMPARE(prompts.shown[0].style, 48);
        QCOMPARE(prompts.shown[0].title, QStringLiteral("Application Error"));
        // An empty description still gives the line break before the location.
        QVERIFY(errorReportText({}, QStringLiteral("in X "), 100)
                    .startsWith(QStringLiteral("\r\nin X at line 100\r\r")));
    }

    void failingStepsAreReportedAndTheProcedureGoesOn() {
        FakePrompts prompts;
        Procedure p(prompts, QStringLiteral("in Brisquet2021/08/31.Main.Test "));
        QStringList ran;
        const auto fail = [] { throw Failure(QStringLiteral("boom")); };
        QVERIFY(!p.step(100, fail));
        QVERIFY(p.step(102, [&] { ran << QStringLiteral("102"); }));
        // A failing test counts as passed: the guarded steps run.
        if (p.test(104, [&]() -> bool { throw Failure(QStringLiteral("bad test")); }))
            ran << QStringLiteral("guarded");
        // A failed read keeps the value the variable held before.
        QCOMPARE(p.value(106, QStringLiteral("before"),
                         [&]() -> QString {
                             fail();
                             return {};
                         }),
                 QStringLiteral("before"));
        // Anything the standard library throws is reported too.
        p.step(108, [] { throw std::out_of_range("out of range"); });
        QCOMPARE(ran, QStringList({QStringLiteral("102"), QStringLiteral("guarded")}));
        QCOMPARE(p.failures(), 4);
        const auto reports = prompts.errorReports();
        QCOMPARE(reports.size(), size_t(4));
        QVERIFY(reports[0].text.startsWith(QStringLiteral("boom\r\n")));
        QVERIFY(reports[0].text.contains(QStringLiteral("Main.Test at line 100\r\r")));
        QVERIFY(reports[1].text.contains(QStringLiteral("at line 104")));
        QVERIFY(reports[3].text.startsWith(QStringLiteral("out of range\r\n")));
        QVERIFY(reports[3].text.endsWith(QStringLiteral("support@tallyvane.example")));
    }
};

QTEST_GUILESS_MAIN(TestErrorReport)
#include "test_error_report.moc"
