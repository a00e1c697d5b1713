#include "app/qt/form1.h"
#include "conversion/conversion_run.h"
#include "lists/list_model.h"
#include "platform/qt/qt_window_services.h"
#include "support/cursor_files.h"
#include "support/window_fakes.h"

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

QTemporaryDir* configHome = nullptr;

// The fakes for everything that would open a box or reach outside, and a
// program folder of the test's own.
struct WindowRig : FakePlatform {
    QTemporaryDir folder;
    int unloads = 0;
    std::function<void()> onUnload;

    std::unique_ptr<Form1> open(SettingsStore* store = nullptr) {
        Form1Overrides o = windowOverrides(*this, store);
        o.programFolder = folder.path();
        o.unload = [this] {
            ++unloads;
            if (onUnload)
                onUnload();
        };
        return std::make_unique<Form1>(std::move(o));
    }
    void putFile(const QString& relative, const QByteArray& bytes) {
        QDir(folder.path()).mkpath(QFileInfo(relative).path());
        QFile file(folder.filePath(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

template <class T> T* control(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    if (!found)
        qWarning("no control %s", name);
    return found;
}

void writeSetting(const QString& value) {
    QSettings settings(QStringLiteral("Veltmark"), QStringLiteral("Tallyvane"));
    settings.setValue(QStringLiteral("Tallyvane/Convert Option"), value);
}

QString storedSetting() {
    QSettings settings(QStringLiteral("Veltmark"), QStringLiteral("Tallyvane"));
    return settings.value(QStringLiteral("Tallyvane/Convert Option")).toString();
}

void moveOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class TestForm1Window : public QObject {
    Q_OBJECT
public:
    // Before QApplication exists, so that QSettings sees the temporary folder.
    static void initMain() {
        configHome = new QTemporaryDir();
        qputenv("XDG_CONFIG_HOME", configHome->path().toLocal8Bit());
    }

private Q_SLOTS:
    void init() { QFile::remove(configHome->filePath(QStringLiteral("Veltmark/Tallyvane.conf"))); }

    void everyControlHasItsNameKindAndCaption_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("caption");
        const auto row = [](const char* name, const char* kind, const char* parent,
                            const char* caption) {
            QTest::newRow(name) << name << kind << parent << caption;
        };
        row("PushButton8", "QPushButton", "Form1", "Help");
        row("ListView1", "QTableView", "Form1", "");
        row("PushButton6", "QPushButton", "Form1", "Add State or Area Code");
        row("PushButton3", "QPushButton", "Form1", "Load State or Area Code From File");
        row("PushButton1", "QPushButton", "Form1", "Clear List");
        row("PushButton7", "QPushButton", "Form1", "Load Sample/Example Data");
        row("Frame2", "QGroupBox", "Form1", " Convert Options");
        row("Option1", "QRadioButton", "Frame2", "Convert Area Codes To States");
        row("Option2", "QRadioButton", "Frame2", "Convert States To Area Codes");
        row("PushButton17", "QPushButton", "Form1", "Start Converting");
        row("ListView2", "QTableView", "Form1", "");
        row("PushButton4", "QPushButton", "Form1", "Save Results As Text File");
        row("PushButton13", "QPushButton", "Form1", "Save Results As Excel File");
        row("PushButton5", "QPushButton", "Form1", "Copy Results To Clipboard");
        row("PushButton2", "QPushButton", "Form1", "Clear Results");
        row("ProgressBar1", "QProgressBar", "Form1", "Progress Bar");
    }
    void everyControlHasItsNameKindAndCaption() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, parent);
        QFETCH(QString, caption);
        WindowRig rig;
        const auto window = rig.open(&rig.settings);
        auto* widget = window->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        QString shown;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            shown = button->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(widget))
            shown = frame->title();
        else if (auto* bar = qobject_cast<QProgressBar*>(widget))
            shown = bar->text();
        QCOMPARE(shown, caption);
        // Screen readers hear the caption; the lists are named by their heading.
        if (name == QLatin1String("ListView1"))
            QCOMPARE(widget->accessibleName(), QStringLiteral("States or Area Codes"));
        else if (name == QLatin1String("ListView2"))
            QCOMPARE(widget->accessibleName(), QStringLiteral("Results"));
        else
            QCOMPARE(widget->accessibleName(), caption.trimmed());

        const QFontInfo font(widget->font());
        QVERIFY2(font.family() == QLatin1String("Arial") ||
                     font.family() == QLatin1String("Liberation Sans"),
                 qPrintable(font.family()));
        QVERIFY(font.bold());
        // Captions fit their buttons.
        if (auto* button = qobject_cast<QPushButton*>(widget))
            QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(caption) < button->width(),
                     qPrintable(name));
    }

    // Top to bottom: help, entries, four entry buttons in two pairs, the
    // direction, start, results, four result buttons in two pairs, the bar.
    // Nothing overlaps, and everything lies inside the window.
    void theControlsKeepTheirOrderWithoutOverlapping() {
        WindowRig rig;
        const auto window = rig.open(&rig.settings);
        const QList<QStringList> rows{{"PushButton8"},
                                      {"ListView1"},
                                      {"PushButton6", "PushButton3"},
                                      {"PushButton1", "PushButton7"},
                                      {"Frame2"},
                                      {"PushButton17"},
                                      {"ListView2"},
                                      {"PushButton4", "PushButton13"},
                                      {"PushButton5", "PushButton2"},
                                      {"ProgressBar1"}};
        int bottom = -1;
        std::vector<QRect> placed;
        for (const QStringList& row : rows) {
            int left = -1;
            int rowBottom = bottom;
            for (const QString& name : row) {
                const QRect r = control<QWidget>(*window, qPrintable(name))->geometry();
                QVERIFY2(window->rect().contains(r), qPrintable(name));
                QVERIFY2(r.top() > bottom && r.left() > left, qPrintable(name));
                for (const QRect& other : placed)
                    QVERIFY2(!other.intersects(r), qPrintable(name));
                placed.push_back(r);
                left = r.right();
                rowBottom = std::max(rowBottom, r.bottom());
            }
            bottom = rowBottom;
        }
        const QRect one = control<QWidget>(*window, "Option1")->geometry();
        const QRect two = control<QWidget>(*window, "Option2")->geometry();
        QVERIFY(one.right() < two.left() && one.top() == two.top());
        QVERIFY(control<QWidget>(*window, "Frame2")->rect().contains(two));
    }

    void theWindowFrameColoursAndTooltips() {
        WindowRig rig;
        const auto window = rig.open(&rig.settings);
        // The designed size at the start; smaller and larger when the person
        // makes it so.
        QCOMPARE(window->size(), QSize(536, 553));
        QVERIFY(window->minimumWidth() < 536 && window->minimumHeight() < 553);
        QVERIFY(window->maximumHeight() > 553);
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowMaximizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        // Without a skin file: white behind the window, the frame and its buttons.
        for (const char* name : {"Form1", "Frame2", "Option1", "Option2"}) {
            QWidget* w =
                name == QByteArray("Form1") ? window.get() : control<QWidget>(*window, name);
            QCOMPARE(w->palette().color(w->backgroundRole()), QColor(Qt::white));
            QVERIFY(w->autoFillBackground());
        }
        auto* help = control<QPushButton>(*window, "PushButton8");
        QCOMPARE(help->palette().color(QPalette::Button), QColor(Qt::white));
        QCOMPARE(help->palette().color(QPalette::ButtonText),
                 QApplication::palette().color(QPalette::ButtonText));
        for (const char* name : {"ListView1", "ListView2"})
            QVERIFY(control<QWidget>(*window, name)
                        ->toolTip()
                        .startsWith(QStringLiteral("Double-click item to remove it. Move | line")));
        window->close();
        QCOMPARE(rig.unloads, 1);
    }

    // An entry added at the end of a long list is scrolled into view, however
    // far up the person had scrolled.
    void anAddedEntryIsShown() {
        WindowRig rig;
        const auto window = rig.open(&rig.settings);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (int i = 0; i < 500; ++i)
            window->entryModel().append(QString::number(200 + i));
        window->entryModel().announcePendingRows();
        auto* list = control<QTableView>(*window, "ListView1");
        list->scrollToTop();
        rig.prompts.typedTexts.push_back(QStringLiteral("NEW HAMPSHIRE"));
        clickButton(*window, "PushButton6");
        window->entryModel().announcePendingRows();
        QCoreApplication::processEvents();
        const QModelIndex added = list->model()->index(500, 0);
        QCOMPARE(added.data().toString(), QStringLiteral("NEW HAMPSHIRE"));
        QVERIFY(list->viewport()->rect().contains(list->visualRect(added)));
    }

    // A run that found nothing because the direction was the other one gets a
    // line saying so under the results; a run that found something, Clear
    // Results and a change of direction leave the designed window.
    void aRunInTheOtherDirectionIsPointedOut() {
        WindowRig rig;
        rig.database.addRow("603", "NH", "New Hampshire");
        auto window = rig.open();
        window->show();
        auto* hint = control<QLabel>(*window, "DirectionHint");
        auto* run = control<QPushButton>(*window, "PushButton17");
        QVERIFY(!hint->isVisible());
        for (const char* entry : {"603-555-0100", "(603) 555-0199", "999-555-0100"})
            window->entryModel().append(QString::fromLatin1(entry));
        QTest::mouseClick(control<QRadioButton>(*window, "Option2"), Qt::LeftButton);
        run->click();
        QVERIFY(hint->isVisible());
        QVERIFY(hint->text().contains(QStringLiteral("phone numbers")));
        QVERIFY(hint->text().contains(QStringLiteral("Convert Area Codes To States")));
        control<QPushButton>(*window, "PushButton2")->click();
        QVERIFY(!hint->isVisible());
        run->click();
        QVERIFY(hint->isVisible());
        QTest::mouseClick(control<QRadioButton>(*window, "Option1"), Qt::LeftButton);
        QVERIFY(!hint->isVisible());
        run->click(); // two of three found
        QVERIFY(!hint->isVisible());
    }

    void closingDuringARunUnloadsAtOnce() {
        WindowRig rig;
        rig.database.rows.push_back({QStringLiteral("603"), QStringLiteral("NH"), {}});
        auto window = rig.open();
        window->show();
        for (int i = 0; i < 20000; ++i)
            window->entryModel().append(QStringLiteral("603-555-0100"));
        bool runningWhenUnloaded = false;
        rig.onUnload = [&] { runningWhenUnloaded = window->conversionRun().IsConverting(); };
        QTimer::singleShot(0, window.get(), [&] { window->close(); });
        control<QPushButton>(*window, "PushButton17")->click();
        QCOMPARE(rig.unloads, 1);
        QVERIFY(runningWhenUnloaded);
    }

    void theTabOrderPutsBothListsFirst() {
        WindowRig rig;
        FakeSettingsStore& settings = rig.settings;
        const auto window = rig.open(&settings);
        QStringList stops;
        QWidget* w = control<QWidget>(*window, "ListView1");
        for (int guard = 0; w && guard < 200 && stops.size() < 17; ++guard) {
            if ((w->focusPolicy() & Qt::TabFocus) && w != window.get())
                stops << w->objectName();
            w = w->nextInFocusChain();
        }
        QCOMPARE(stops, QString("ListView1 ListView2 PushButton6 PushButton3 PushButton1 "
                                "PushButton17 PushButton4 PushButton13 PushButton2 PushButton5 "
                                "PushButton7 PushButton8 Frame2 Option1 Option2 ProgressBar1 "
                                "ListView1")
                            .split(QLatin1Char(' ')));
    }

    // A wider window widens the lists' columns, so that a long result shows
    // whole; at the smallest size each list still shows three rows.
    void theColumnsFollowTheListsWidth() {
        WindowRig rig;
        const auto window = rig.open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QList<QTableView*> lists = {control<QTableView>(*window, "ListView1"),
                                          control<QTableView>(*window, "ListView2")};
        window->resize(1200, window->height());
        QTRY_COMPARE(lists[1]->columnWidth(0), lists[1]->viewport()->width());
        QVERIFY(lists[1]->viewport()->width() > 1000);
        QCOMPARE(lists[0]->columnWidth(0), lists[0]->viewport()->width());
        window->resize(window->minimumSizeHint());
        QTest::qWait(50);
        for (QTableView* list : lists) {
            QVERIFY(list->columnWidth(0) >= 467);
            QVERIFY2(list->viewport()->height() >= 3 * list->verticalHeader()->defaultSectionSize(),
                     qPrintable(list->objectName()));
        }
    }

    void aFreshStartAndTheSettingsRoundTrip() {
        WindowRig rig;
        {
            const auto window = rig.open();
            QVERIFY(rig.prompts.shown.empty());
            QCOMPARE(window->windowTitle(), QStringLiteral("Tallyvane"));
            QVERIFY(!window->windowIcon().isNull());
            QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Tallyvane"));
            auto* entries = control<QTableView>(*window, "ListView1");
            QCOMPARE(entries->model()->columnCount(), 1);
            QCOMPARE(entries->model()->headerData(0, Qt::Horizontal).toString(),
                     QStringLiteral("States or Area Codes"));
            // 7000 twips to the nearest pixel at least, and the list's width.
            for (QTableView* list : {entries, control<QTableView>(*window, "ListView2")})
                QCOMPARE(list->columnWidth(0), std::max(467, list->viewport()->width()));
            QVERIFY(control<QRadioButton>(*window, "Option1")->isChecked());
            QVERIFY(!control<QRadioButton>(*window, "Option2")->isChecked());
            // Restoring wrote nothing.
            QVERIFY(
                !QFile::exists(configHome->filePath(QStringLiteral("Veltmark/Tallyvane.conf"))));

            QTest::mouseClick(control<QRadioButton>(*window, "Option2"), Qt::LeftButton);
            QCOMPARE(storedSetting(), QStringLiteral("2"));
        }
        const auto restarted = rig.open();
        QVERIFY(control<QRadioButton>(*restarted, "Option2")->isChecked());
        QVERIFY(!control<QRadioButton>(*restarted, "Option1")->isChecked());
        QTest::mouseClick(control<QRadioButton>(*restarted, "Option1"), Qt::LeftButton);
        QCOMPARE(storedSetting(), QStringLiteral("1"));
        QVERIFY(rig.prompts.shown.empty());
    }

    // The window's size comes back at the next start, kept under a key of
    // its own beside the direction's.
    void theWindowsSizeIsRemembered() {
        WindowRig rig;
        FakeSettingsStore settings;
        {
            const auto window = rig.open(&settings);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            window->resize(600, 520);
            window->close();
            QCOMPARE(rig.unloads, 1);
        }
        QCOMPARE(settings.values.keys().filter(QStringLiteral("/Window Place")).size(), 1);
        const auto again = rig.open(&settings);
        QCOMPARE(again->size(), QSize(600, 520));
    }

    void storedValuesOutsideTheTwoDirections() {
        WindowRig rig;
        writeSetting(QStringLiteral("3"));
        {
            const auto window = rig.open();
            QVERIFY(control<QRadioButton>(*window, "Option1")->isChecked());
            QVERIFY(rig.prompts.shown.empty());
        }
        writeSetting(QStringLiteral("abc"));
        const auto window = rig.open();
        QVERIFY(control<QRadioButton>(*window, "Option1")->isChecked());
        QVERIFY(!control<QRadioButton>(*window, "Option2")->isChecked());
        const auto reports = rig.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.startsWith(QStringLiteral(
            "Type mismatch\r\nin Brisquet2021/08/31.Form1.Form_Load at line 138\r\r")));
        QCOMPARE(storedSetting(), QStringLiteral("abc"));
    }

    void thePointerFollowsTheMouseUnlessBusy() {
        WindowRig rig;
        FakeSettingsStore& settings = rig.settings;
        rig.putFile(QStringLiteral("HAND-M.CUR"), cursorFile(Entry::Dib32, {5, 2}));
        const auto window = rig.open(&settings);
        QVERIFY(rig.prompts.shown.empty());
        QtWindowServices& pointer = window->windowServices();
        QCOMPARE(pointer.pointer(), Pointer::Default);

        moveOver(control<QWidget>(*window, "PushButton17"));
        QCOMPARE(pointer.pointer(), Pointer::Custom);
        QCOMPARE(window->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(window->cursor().hotSpot(), QPoint(5, 2));
        QCOMPARE(window->cursor().pixmap().size(), QSize(16, 16));
        // The hand stays over the option buttons and the bar: they have no handler.
        moveOver(control<QWidget>(*window, "Option1"));
        moveOver(control<QWidget>(*window, "ProgressBar1"));
        QCOMPARE(pointer.pointer(), Pointer::Custom);
        // A list's rows and heading belong to the list.
        moveOver(control<QTableView>(*window, "ListView2")->horizontalHeader()->viewport());
        QCOMPARE(pointer.pointer(), Pointer::Default);
        moveOver(control<QWidget>(*window, "PushButton8"));
        moveOver(control<QTableView>(*window, "ListView1")->viewport());
        QCOMPARE(pointer.pointer(), Pointer::Default);
        moveOver(control<QWidget>(*window, "PushButton5"));
        moveOver(control<QWidget>(*window, "Frame2"));
        QCOMPARE(pointer.pointer(), Pointer::Default);
        moveOver(control<QWidget>(*window, "PushButton5"));
        moveOver(window.get());
        QCOMPARE(pointer.pointer(), Pointer::Default);

        // Every push button asks for the hand, every list for the arrow.
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            moveOver(control<QWidget>(*window, "ListView2"));
            moveOver(button);
            QVERIFY2(pointer.pointer() == Pointer::Custom, qPrintable(button->objectName()));
            for (QTableView* list : window->findChildren<QTableView*>()) {
                moveOver(button);
                moveOver(list);
                QVERIFY2(pointer.pointer() == Pointer::Default, qPrintable(list->objectName()));
            }
        }

        pointer.setPointer(Pointer::Busy);
        moveOver(control<QWidget>(*window, "PushButton2"));
        moveOver(control<QWidget>(*window, "ListView1")->parentWidget());
        QCOMPARE(pointer.pointer(), Pointer::Busy);
        QCOMPARE(window->cursor().shape(), Qt::WaitCursor);
    }

    void withoutAHandFileTheCustomPointerIsTheArrow() {
        WindowRig rig;
        FakeSettingsStore& settings = rig.settings;
        const auto window = rig.open(&settings);
        moveOver(control<QWidget>(*window, "PushButton1"));
        QCOMPARE(window->windowServices().pointer(), Pointer::Custom);
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);

        WindowRig broken;
        broken.putFile(QStringLiteral("HAND-M.CUR"), QByteArray("not a cursor"));
        const auto second = broken.open(&settings);
        const auto reports = broken.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.startsWith(QStringLiteral(
            "Invalid picture\r\nin Brisquet2021/08/31.Form1.Form_Load at line 110")));
        moveOver(control<QWidget>(*second, "PushButton1"));
        QCOMPARE(second->cursor().shape(), Qt::ArrowCursor);
    }

    // Last: the skin changes the style of the whole application.
    void theSkinFileGivesButtonFaceColoursAndFusion() {
        WindowRig rig;
        FakeSettingsStore& settings = rig.settings;
        rig.putFile(QStringLiteral("x/o.cjs"), QByteArray("skin"));
        const auto window = rig.open(&settings);
        QVERIFY(rig.prompts.shown.empty());
        const QColor face = QApplication::palette().color(QPalette::Button);
        QVERIFY(face != QColor(Qt::white));
        for (const char* name : {"Form1", "Frame2", "Option1", "Option2"}) {
            QWidget* w =
                name == QByteArray("Form1") ? window.get() : control<QWidget>(*window, name);
            QCOMPARE(w->palette().color(w->backgroundRole()), face);
        }
        // The push buttons keep their own colours.
        QCOMPARE(control<QPushButton>(*window, "PushButton8")->palette().color(QPalette::Button),
                 QColor(Qt::white));
        // Fusion, under the window's focus ring.
        auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
        QVERIFY(style);
        QCOMPARE(style->baseStyle()->name(), QStringLiteral("fusion"));
    }
};

QTEST_MAIN(TestForm1Window)
#include "test_form1_window.moc"
