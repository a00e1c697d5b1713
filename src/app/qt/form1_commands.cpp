// Wires the controls of the main window to the commands.
#include "app/help_command.h"
#include "app/pointer_rules.h"
#include "app/qt/direction_hint_line.h"
#include "app/qt/form1.h"
#include "app/qt/form1_parts.h"
#include "app/start_up.h"
#include "commands/remove_selected_row.h"
#include "conversion/conversion_run.h"
#include "entries/entry_list_commands.h"
#include "entries/file_loading.h"
#include "entries/sample_data.h"
#include "results/clipboard_copy.h"
#include "results/results_editing.h"
#include "results/spreadsheet_export.h"
#include "results/text_export.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace tallyvane {

void Form1::connectCommands() {
    Form1Controls& c = d_->controls;
    Form1Services& s = *d_->services;
    const auto onClick = [this](QPushButton* b, auto command) {
        connect(b, &QPushButton::clicked, this, command);
    };
    onClick(c.pushButton8, [&s] { PushButton8_Click(s.prompts, s.browser, s.programFolder); });
    onClick(c.pushButton6, [&s] { PushButton6_Click(s.prompts, s.surface, s.entries); });
    onClick(c.pushButton3, [&s] {
        PushButton3_Click(s.prompts, s.dialog, s.window, s.entries,
                          {directionOf(s.options), s.columns, false,
                           [&s](Direction d) { chooseForThisRun(s.options, d); }, &s.kept});
    });
    onClick(c.pushButton1, [&s] { PushButton1_Click(s.prompts, s.window, s.entries); });
    onClick(c.pushButton7, [&s] { PushButton7_Click(s.prompts, s.entries); });
    auto* hint = new DirectionHintLine(c.listView2, s.entries, s.results);
    onClick(c.pushButton17, [this, hint] {
        d_->run->PushButton17_Click();
        hint->afterRun(d_->run->resultsDirection());
    });
    onClick(c.pushButton4,
            [&s] { PushButton4_Click(s.prompts, s.dialog, s.window, s.results, s.progress); });
    onClick(c.pushButton13,
            [&s] { PushButton13_Click(s.prompts, s.window, s.spreadsheet, s.results); });
    onClick(c.pushButton5,
            [&s] { PushButton5_Click(s.prompts, s.window, s.clipboard, s.results); });
    onClick(c.pushButton2, [&s, hint] {
        PushButton2_Click(s.prompts, s.results);
        hint->hide();
    });
    connect(c.option1, &QRadioButton::clicked, this, [&s, hint] {
        Option1_Click(s.prompts, s.settings);
        hint->hide();
    });
    connect(c.option2, &QRadioButton::clicked, this, [&s, hint] {
        Option2_Click(s.prompts, s.settings);
        hint->hide();
    });
}

namespace {

// The control whose pointer handler a move over this object runs: the object
// itself or the nearest of its parents that has one (a list's viewport and
// header belong to the list).
QString pointerControlName(QObject* watched, const QObject* window) {
    for (QObject* o = watched; o; o = o->parent()) {
        if (pointerForControl(o->objectName()))
            return o->objectName();
        if (o == window)
            break;
    }
    return {};
}

} // namespace

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    Form1Controls& c = d_->controls;
    Form1Services& s = *d_->services;
    if (event->type() == QEvent::MouseMove) {
        const QString control = pointerControlName(watched, this);
        if (!control.isEmpty())
            Control_MouseMove(s.window, control);
        return QWidget::eventFilter(watched, event);
    }
    const bool entryList = watched == c.listView1 || watched == c.listView1->viewport();
    const bool resultList = watched == c.listView2 || watched == c.listView2->viewport();
    if (event->type() == QEvent::MouseButtonDblClick && (entryList || resultList)) {
        if (entryList)
            ListView1_DblClick(s.window, s.entries);
        else
            ListView2_DblClick(s.window, s.results);
        return true;
    }
    if (event->type() == QEvent::KeyPress && (watched == c.listView1 || watched == c.listView2)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int code = key->key() == Qt::Key_Delete ? kDeleteKeyCode : key->key();
        if (watched == c.listView1)
            ListView1_KeyDown(s.window, s.entries, code);
        else
            ListView2_KeyDown(s.window, s.results, code, static_cast<int>(key->modifiers()));
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tallyvane
