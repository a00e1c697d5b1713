#include "app/qt/form1.h"
#include "lists/list_model.h"
#include "platform/qt/qt_progress_bar.h"
#include "platform/qt/qt_window_services.h"
#include "support/temp_files.h"
#include "support/window_fakes.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

struct Rig : FakePlatform {
    QTemporaryDir folder;
    int unloads = 0;
    std::unique_ptr<Form1> window;

    Rig() {
        Form1Overrides o = windowOverrides(*this, &settings);
        o.programFolder = folder.path();
        o.unload = [this] { ++unloads; };
        window = std::make_unique<Form1>(std::move(o));
        window->show();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the window did not become active");
    }
    template <class T> T* find(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    QStringList entries() const { return listTexts(window->entryModel()); }
    // Sends a drag over the window and, when it is accepted, drops it; the
    // dropped command runs once the drop has returned.
    bool drag(QMimeData* data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        const QPoint at(100, 60);
        QDragEnterEvent enter(at, actions, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, actions, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        if (drop.dropAction() != Qt::CopyAction)
            qWarning("the drop was not taken as a copy");
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }
};

QMimeData* files(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

} // namespace

class TestForm1Gestures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pasteAppendsClipboardLines() {
        Rig rig;
        rig.window->entryModel().append("kept");
        rig.find<QTableView>("ListView1")->setFocus();
        QApplication::clipboard()->setText("nh\r\n 603 \n");
        QTest::keyClick(rig.window.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rig.entries(), QStringList({"kept", "nh", " 603 "}));
        // Anywhere without a text field, and also while the window is busy.
        rig.window->windowServices().setPointer(Pointer::Busy);
        rig.find<QPushButton>("PushButton17")->setFocus();
        QApplication::clipboard()->setText("ct");
        QTest::keyClick(rig.window.get(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(rig.entries(), QStringList({"kept", "nh", " 603 ", "ct"}));
        QApplication::clipboard()->clear();
        QTest::keyClick(rig.window.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rig.entries().size(), 4);
        QVERIFY(rig.prompts.shown.empty());
    }

    void droppedFilesLoadAsTheLoadCommand() {
        Rig rig;
        QTemporaryDir dir;
        const QString crlf = writeFile(dir, "a.txt", "nh\r\n\r\n603\r\n");
        const QString unix = writeFile(dir, "b.txt", "nh\nny\nct");
        QVERIFY(rig.drag(files({crlf, unix, dir.filePath("gone.txt")})));
        QCOMPARE(rig.entries(), QStringList({"NH", "", "603", "nh", "ny", "CT"}));
        QCOMPARE(rig.prompts.texts(), QStringList{"File not found: " + dir.filePath("gone.txt")});
        QCOMPARE(rig.window->windowServices().pointer(), Pointer::Default);
        // One folder dropped fails inside the load, reported at the same line.
        QVERIFY(rig.drag(files({dir.path()})));
        QCOMPARE(rig.prompts.errorReports().size(), std::size_t(1));
        QVERIFY(rig.prompts.errorReports()[0].text.contains("PushButton3_Click at line 120"));
    }

    void droppedTextIsPastedAndAnythingElseRefused() {
        Rig rig;
        auto* text = new QMimeData;
        text->setText("nh\nNew York ");
        QVERIFY(rig.drag(text));
        QCOMPARE(rig.entries(), QStringList({"nh", "New York "}));
        auto* web = new QMimeData;
        web->setUrls({QUrl("https://example.com/list.txt")});
        QVERIFY(!rig.drag(web));
        auto* image = new QMimeData;
        image->setImageData(QImage(4, 4, QImage::Format_RGB32));
        QVERIFY(!rig.drag(image));
        // A source that only offers to move its files would delete them.
        auto* moved = new QMimeData;
        moved->setText("ct");
        QVERIFY(!rig.drag(moved, Qt::MoveAction));
        QCOMPARE(rig.entries().size(), 2);
        QVERIFY(rig.prompts.shown.empty());
        delete text;
        delete web;
        delete image;
        delete moved;
    }

    void shortcutsPressTheirButtons() {
        Rig rig;
        const std::pair<QKeyCombination, const char*> shortcuts[] = {
            {Qt::Key_F1, "PushButton8"},
            {Qt::ControlModifier | Qt::Key_O, "PushButton3"},
            {Qt::ControlModifier | Qt::Key_S, "PushButton4"},
            {Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_C, "PushButton5"},
            {Qt::ControlModifier | Qt::Key_Return, "PushButton17"},
        };
        rig.find<QTableView>("ListView2")->setFocus();
        for (const auto& [keys, name] : shortcuts) {
            QSignalSpy clicked(rig.find<QPushButton>(name), &QPushButton::clicked);
            QTest::keyClick(rig.window.get(), keys.key(), keys.keyboardModifiers());
            QVERIFY2(clicked.size() == 1, name);
        }
        QCOMPARE(rig.dialog.shownOpen, 1);
        QCOMPARE(rig.unloads, 0);
        QTest::keyClick(rig.window.get(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(rig.unloads, 1);
    }

    void enterPressesTheFocusedButton() {
        Rig rig;
        auto* sample = rig.find<QPushButton>("PushButton7");
        sample->setFocus();
        QTest::keyClick(sample, Qt::Key_Return);
        QCOMPARE(rig.window->entryModel().count(), 8);
        QTest::keyClick(sample, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(rig.window->entryModel().count(), 16);
    }

    void accessibleDescriptionsActionsAndProgressText() {
        Rig rig;
        auto* list = rig.find<QTableView>("ListView1");
        const auto describe = [](QWidget* w) {
            return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
        };
        QVERIFY(!list->toolTip().isEmpty());
        QCOMPARE(describe(list), list->toolTip());
        auto* add = rig.find<QPushButton>("PushButton6");
        add->setToolTip("Adds one entry");
        QCOMPARE(describe(add), QString("Adds one entry"));

        // Choosing a direction through the accessible action saves it as a click.
        auto* option2 = rig.find<QRadioButton>("Option2");
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(option2);
        QVERIFY(button->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction()));
        button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(option2->isChecked());
        QVERIFY(button->state().checked);
        QCOMPARE(rig.settings.values.value("Veltmark/Tallyvane/Convert Option"), QString("2"));

        auto* bar = rig.find<QProgressBar>("ProgressBar1");
        rig.window->progress().setText("Processing: 50%p NH");
        rig.window->progress().flush();
        QCOMPARE(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name),
                 QString("Processing: 50%p NH"));
    }
};

QTEST_MAIN(TestForm1Gestures)
#include "test_form1_gestures.moc"
