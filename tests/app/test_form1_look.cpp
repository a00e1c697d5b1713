// The window as it is drawn: every text readable (WCAG AA, 4.5:1) on the
// rendered pixels under the default and a dark palette, and a window that
// fits small or highly scaled screens with every control reachable.
#include "app/qt/form1.h"
#include "app/qt/form1_layout.h"
#include "lists/list_model.h"
#include "support/window_fakes.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <map>
#include <memory>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

double luminance(QRgb rgb) {
    const auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text of a region against what lies behind it: the background is the
// region's most common colour, the text its pixel of most contrast to that
// (the core of a glyph; the anti-aliased edges lie between the two).
double textContrast(QWidget* widget, const QRect& region) {
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect area = region.intersected(image.rect());
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (const auto& [colour, count] : counts)
        if (count > most)
            std::tie(background, most) = std::tie(colour, count);
    double best = 1.0;
    for (const auto& entry : counts)
        best = std::max(best, contrast(entry.first, background));
    return best;
}

QPalette darkPalette() {
    QPalette p;
    const QColor window(53, 53, 53), base(42, 42, 42), blue(42, 130, 218);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window.lighter(120));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, blue);
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::PlaceholderText, Qt::gray);
    return p;
}

struct Rig : FakePlatform {
    std::unique_ptr<Form1> open() {
        Form1Overrides o = windowOverrides(*this, &settings);
        o.unload = [] {};
        return std::make_unique<Form1>(std::move(o));
    }
};

const char* const kControls[] = {
    "PushButton8",  "ListView1",   "PushButton6", "PushButton3",  "PushButton1", "PushButton7",
    "Frame2",       "Option1",     "Option2",     "PushButton17", "ListView2",   "PushButton4",
    "PushButton13", "PushButton5", "PushButton2", "ProgressBar1",
};

// Child process: one screen of the given size and scale; prints what it saw.
int fitChild(int argc, char** argv) {
    const QString width = QString::fromLatin1(argv[2]), height = QString::fromLatin1(argv[3]);
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 3;
    file.write(QStringLiteral(R"({"screens":[{"name":"small","x":0,"y":0,"width":%1,"height":%2,)"
                              R"("logicalDpi":96,"logicalBaseDpi":96}]})")
                   .arg(width, height)
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    qputenv("QT_SCALE_FACTOR", argv[4]);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    QApplication app(argc, argv);
    Rig rig;
    const auto window = rig.open();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 4;
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    std::printf("fits %d\n", available.contains(window->frameGeometry()) ? 1 : 0);
    std::printf("size %dx%d\n", window->width(), window->height());
    const QString pictures = qEnvironmentVariable("TALLYVANE_SCREENSHOTS");
    if (!pictures.isEmpty())
        window->grab().save(QStringLiteral("%1/window-%2x%3-at-%4.png")
                                .arg(pictures, width, height, QString::fromLatin1(argv[4])));
    // Everything in sight at once: nothing to scroll to, no control cut.
    for (const char* name : kControls) {
        auto* control = window->findChild<QWidget*>(QLatin1String(name));
        const QRect shown(control->mapTo(window.get(), QPoint(0, 0)), control->size());
        std::printf("in sight %s %d\n", name, window->rect().contains(shown) ? 1 : 0);
    }
    std::printf("scroll areas %lld\n",
                static_cast<long long>(
                    window->findChildren<QScrollArea*>(Qt::FindDirectChildrenOnly).size()));
    for (QTableView* list : window->findChildren<QTableView*>()) {
        const int rows = (list->viewport()->height()) / (list->fontMetrics().height() + 2);
        std::printf("rows of %s %d\n", qPrintable(list->objectName()), rows);
    }
    return 0;
}

} // namespace

class TestForm1Look : public QObject {
    Q_OBJECT
    QTemporaryDir config_;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path())); }
    void cleanup() { QApplication::setPalette(QApplication::style()->standardPalette()); }

    void everyTextIsReadable_data() {
        QTest::addColumn<int>("theme");
        QTest::newRow("default palette") << 0;
        QTest::newRow("dark palette from the start") << 1;
        QTest::newRow("dark palette switched to while open") << 2;
    }
    void everyTextIsReadable() {
        QFETCH(int, theme);
        if (theme == 1)
            QApplication::setPalette(darkPalette());
        Rig rig;
        const auto window = rig.open();
        window->entryModel().append(QStringLiteral("603"));
        window->resultModel().append(QStringLiteral("NH"));
        window->entryModel().announcePendingRows();
        window->resultModel().announcePendingRows();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        if (theme == 2) {
            QApplication::setPalette(darkPalette());
            QCoreApplication::processEvents();
        }

        // TALLYVANE_SCREENSHOTS=FOLDER keeps a picture of each theme for review.
        const QString pictures = qEnvironmentVariable("TALLYVANE_SCREENSHOTS");
        if (!pictures.isEmpty())
            window->grab().save(
                QStringLiteral("%1/window-%2.png")
                    .arg(pictures, QString::fromLatin1(QTest::currentDataTag())
                                       .replace(QLatin1Char(' '), QLatin1Char('-'))));

        std::vector<std::pair<QString, double>> measured;
        const auto measure = [&](QWidget* widget, const QRect& region, const QString& what) {
            measured.emplace_back(what, textContrast(widget, region));
        };
        for (QPushButton* button : window->findChildren<QPushButton*>())
            measure(button, button->rect().adjusted(6, 5, -6, -5), button->objectName());
        auto* frame = window->findChild<QGroupBox*>(QStringLiteral("Frame2"));
        const QFontMetrics metrics(frame->font());
        measure(frame,
                QRect(0, 0, metrics.horizontalAdvance(frame->title()) + 16, metrics.height()),
                QStringLiteral("Frame2 title"));
        for (QRadioButton* option : window->findChildren<QRadioButton*>()) {
            const int indicator = option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                  option->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
            measure(option, option->rect().adjusted(indicator + 1, 0, 0, 0), option->objectName());
        }
        for (QTableView* list : window->findChildren<QTableView*>()) {
            const QRect row = list->visualRect(list->model()->index(0, 0)).adjusted(1, 1, -1, -1);
            measure(list->viewport(), row, list->objectName() + QStringLiteral(" row"));
            QHeaderView* header = list->horizontalHeader();
            measure(header,
                    QRect(2, 2, qMin(header->sectionSize(0), header->width()) - 4,
                          header->height() - 4),
                    list->objectName() + QStringLiteral(" heading"));
        }
        auto* bar = window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        measure(bar, bar->rect().adjusted(4, 4, -4, -4), QStringLiteral("bar at rest"));
        bar->setValue(100);
        bar->setFormat(QStringLiteral("Processing: 603"));
        measure(bar, bar->rect().adjusted(4, 4, -4, -4), QStringLiteral("bar full"));

        // A dark palette darkens the whole window, not the lists alone; a
        // light one keeps the designed white surfaces.
        const QImage picture = window->grab().toImage();
        const bool dark = theme != 0;
        for (QWidget* surface : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(frame),
                                 static_cast<QWidget*>(window->findChild<QPushButton*>(
                                     QStringLiteral("PushButton4")))}) {
            const QPoint inside = surface->mapTo(window.get(), QPoint(3, surface->height() / 2));
            const double light = luminance(picture.pixel(inside));
            QVERIFY2(dark ? light < 0.2 : light > 0.9,
                     qPrintable(surface->objectName() + QStringLiteral(": %1").arg(light)));
        }

        QCOMPARE(measured.size(), size_t(10 + 3 + 4 + 2));
        for (const auto& [what, ratio] : measured) {
            if (ratio < 4.5)
                QFAIL(qPrintable(
                    QStringLiteral("%1: contrast %2:1").arg(what).arg(ratio, 0, 'f', 2)));
        }
    }

    // The direction reads plainly in any palette: the chosen button's dot
    // stands out from the other's empty face (light faces in a light palette).
    void theChosenDirectionShowsInEveryPalette_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("default palette") << false;
        QTest::newRow("dark palette") << true;
    }
    void theChosenDirectionShowsInEveryPalette() {
        QFETCH(bool, dark);
        if (dark)
            QApplication::setPalette(darkPalette());
        Rig rig;
        const auto window = rig.open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const auto centreOf = [](QRadioButton* option) {
            QStyleOptionButton style;
            style.initFrom(option);
            const QRect indicator =
                option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option);
            return option->grab().toImage().pixel(indicator.center());
        };
        auto* chosen = window->findChild<QRadioButton*>(QStringLiteral("Option1"));
        auto* other = window->findChild<QRadioButton*>(QStringLiteral("Option2"));
        QVERIFY(chosen->isChecked() && !other->isChecked());
        const QRgb dot = centreOf(chosen), empty = centreOf(other);
        QVERIFY2(dark || (luminance(empty) > 0.6 && luminance(dot) < luminance(empty)),
                 qPrintable(QStringLiteral("empty %1, dot %2").arg(empty, 0, 16).arg(dot, 0, 16)));
        QVERIFY2(contrast(dot, empty) >= 3.0, qPrintable(QString::number(contrast(dot, empty))));
    }

    // Where the keyboard is shows plainly: the focus indicator of every button,
    // option button and list stands out 3:1 from what lies behind it.
    void theKeyboardFocusShowsInEveryPalette_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("default palette") << false;
        QTest::newRow("dark palette") << true;
    }
    void theKeyboardFocusShowsInEveryPalette() {
        QFETCH(bool, dark);
        if (dark)
            QApplication::setPalette(darkPalette());
        Rig rig;
        const auto window = rig.open();
        window->entryModel().append(QStringLiteral("603"));
        window->entryModel().announcePendingRows();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_Tab); // the focus is shown once the keyboard moves it
        QStringList weak;
        QList<QWidget*> controls;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            // The lists' own corner buttons are parts of the lists, not controls.
            const bool part = qobject_cast<QTableView*>(control->parentWidget()) != nullptr;
            if ((qobject_cast<QAbstractButton*>(control) && !part) ||
                qobject_cast<QTableView*>(control))
                controls << control;
        }
        QCOMPARE(controls.size(), 14);
        for (QWidget* control : controls) {
            window->setFocus();
            QCoreApplication::processEvents();
            const QImage without = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
            control->setFocus(Qt::TabFocusReason);
            QCoreApplication::processEvents();
            QVERIFY(control->hasFocus());
            const QImage with = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
            double best = 1.0;
            for (int y = 0; y < with.height(); ++y)
                for (int x = 0; x < with.width(); ++x)
                    best = std::max(best, contrast(with.pixel(x, y), without.pixel(x, y)));
            if (best < 3.0)
                weak << QStringLiteral("%1 %2:1").arg(control->objectName()).arg(best, 0, 'f', 2);
        }
        QVERIFY2(weak.isEmpty(), qPrintable(weak.join(QStringLiteral(", "))));
    }

    void fitsTheScreen_data() {
        QTest::addColumn<QStringList>("screen");
        QTest::addColumn<QString>("size"); // empty: smaller than designed, shorter lists
        QTest::newRow("1366x768 at 100%") << QStringList{"1366", "768", "1"} << "536x553";
        QTest::newRow("1920x1080 at 100%") << QStringList{"1920", "1080", "1"} << "536x553";
        QTest::newRow("1366x768 at 150%") << QStringList{"1366", "768", "1.5"} << QString();
        QTest::newRow("1920x1080 at 200%") << QStringList{"1920", "1080", "2"} << QString();
        QTest::newRow("1024x600 at 125%") << QStringList{"1024", "600", "1.25"} << QString();
    }
    void fitsTheScreen() {
        QFETCH(QStringList, screen);
        QFETCH(QString, size);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    QStringList{QStringLiteral("--fit-child")} + screen);
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        const QString report = QString::fromUtf8(child.readAllStandardOutput());
        QVERIFY2(report.contains(QStringLiteral("fits 1\n")), qPrintable(report));
        QCOMPARE(report.count(QStringLiteral(" 1\n")), 1 + int(std::size(kControls)));
        QVERIFY2(report.contains(QStringLiteral("scroll areas 0\n")), qPrintable(report));
        // Each list keeps room for a few rows.
        static const QRegularExpression rows(QStringLiteral("rows of \\w+ (\\d+)"));
        for (const auto& match : rows.globalMatch(report))
            QVERIFY2(match.captured(1).toInt() >= 2, qPrintable(report));
        if (!size.isEmpty())
            QVERIFY2(report.contains(QStringLiteral("size ") + size), qPrintable(report));
    }
};

int main(int argc, char** argv) {
    if (argc == 5 && qstrcmp(argv[1], "--fit-child") == 0)
        return fitChild(argc, argv);
    QApplication app(argc, argv);
    TestForm1Look test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_form1_look.moc"
