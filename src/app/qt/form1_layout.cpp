#include "app/qt/form1_layout.h"

#include "app/qt/form1_list_views.h"
#include "app/qt/form1_look.h"
#include "platform/twips.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <iterator>
#include <type_traits>

namespace tallyvane {

namespace {

constexpr int px(int twips) {
    return pixelsFromTwips(twips);
}
constexpr int kMargin = px(120);
constexpr int kButtonHeight = px(405);
constexpr int kFrameHeight = px(705);

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedHeight(kButtonHeight);
    b->setAccessibleName(caption);
    return b;
}

// Two buttons side by side, sharing the width with the designed gap between.
QHBoxLayout* pair(QPushButton* left, QPushButton* right) {
    auto* row = new QHBoxLayout;
    row->setSpacing(px(4080 - 3960));
    row->addWidget(left, 1);
    row->addWidget(right, 1);
    return row;
}

// The controls top to bottom with the designed gaps between them (the design's
// twips, rounded, do not all come out alike). Only the two lists stretch, and
// equally: at the designed size every control stands where the design puts
// it, and a window of another size gives or takes the difference in the lists.
void arrange(QWidget* form, const Form1Controls& c) {
    auto* column = new QVBoxLayout(form);
    column->setContentsMargins(kMargin, kMargin, kMargin, px(8295 - 8185));
    column->setSpacing(0);
    const auto add = [column](int gapAbove, auto* item, int stretch = 0) {
        column->addSpacing(gapAbove);
        if constexpr (std::is_base_of_v<QLayout, std::remove_pointer_t<decltype(item)>>)
            column->addLayout(item);
        else
            column->addWidget(item, stretch);
    };
    add(0, c.pushButton8);
    add(px(630 - 525), c.listView1, 1);
    add(px(2530 - 2445), pair(c.pushButton6, c.pushButton3));
    add(px(3040 - 2935), pair(c.pushButton1, c.pushButton7));
    add(px(3510 - 3445), c.frame2);
    add(px(4335 - 4215), c.pushButton17);
    add(px(4845 - 4740), c.listView2, 1);
    add(px(6750 - 6660), pair(c.pushButton4, c.pushButton13));
    add(px(7260 - 7155), pair(c.pushButton5, c.pushButton2));
    add(px(7780 - 7665), c.progressBar1);
}

void addDirectionFrame(QWidget* form, Form1Controls& c) {
    c.frame2 = new QGroupBox(QStringLiteral(" Convert Options"), form);
    c.frame2->setObjectName(QStringLiteral("Frame2"));
    c.frame2->setFixedHeight(kFrameHeight);
    c.option1 = new QRadioButton(QStringLiteral("Convert Area Codes To States"), c.frame2);
    c.option1->setObjectName(QStringLiteral("Option1"));
    c.option1->setGeometry(px(240), px(300), px(3135), px(255));
    c.option1->setChecked(true);
    c.option2 = new QRadioButton(QStringLiteral("Convert States To Area Codes"), c.frame2);
    c.option2->setObjectName(QStringLiteral("Option2"));
    c.option2->setGeometry(px(3600), px(300), px(3135), px(255));
    c.frame2->setAccessibleName(c.frame2->title().trimmed());
    c.option1->setAccessibleName(c.option1->text());
    c.option2->setAccessibleName(c.option2->text());
}

} // namespace

void setForm1TabOrder(const Form1Controls& c) {
    // The frame and the bar take no focus on their own; they are stops here.
    c.frame2->setFocusPolicy(Qt::TabFocus);
    c.progressBar1->setFocusPolicy(Qt::TabFocus);
    QWidget* const order[] = {
        c.listView1,   c.listView2,    c.pushButton6, c.pushButton3,  c.pushButton1, c.pushButton17,
        c.pushButton4, c.pushButton13, c.pushButton2, c.pushButton5,  c.pushButton7, c.pushButton8,
        c.frame2,      c.option1,      c.option2,     c.progressBar1,
    };
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

Form1Controls buildForm1Layout(QWidget* form, ListModel& entries, ListModel& results) {
    Form1Controls c;
    form->setObjectName(QStringLiteral("Form1"));
    form->setWindowTitle(QStringLiteral("Form1"));
    form->resize(px(8040), px(8295));

    c.pushButton8 = button(form, "PushButton8", QStringLiteral("Help"));
    c.listView1 = createListView(form, "ListView1", entries, ListFollows::EveryNewRow);
    c.pushButton6 = button(form, "PushButton6", QStringLiteral("Add State or Area Code"));
    c.pushButton3 =
        button(form, "PushButton3", QStringLiteral("Load State or Area Code From File"));
    c.pushButton1 = button(form, "PushButton1", QStringLiteral("Clear List"));
    c.pushButton7 = button(form, "PushButton7", QStringLiteral("Load Sample/Example Data"));
    addDirectionFrame(form, c);
    c.pushButton17 = button(form, "PushButton17", QStringLiteral("Start Converting"));
    c.listView2 = createListView(form, "ListView2", results, ListFollows::RowsWhileAtTheEnd);
    c.pushButton4 = button(form, "PushButton4", QStringLiteral("Save Results As Text File"));
    c.pushButton13 = button(form, "PushButton13", QStringLiteral("Save Results As Excel File"));
    c.pushButton5 = button(form, "PushButton5", QStringLiteral("Copy Results To Clipboard"));
    c.pushButton2 = button(form, "PushButton2", QStringLiteral("Clear Results"));

    c.progressBar1 = new QProgressBar(form);
    c.progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    c.progressBar1->setFixedHeight(kButtonHeight);
    c.progressBar1->setFormat(QStringLiteral("Progress Bar"));
    c.progressBar1->setValue(0);
    c.progressBar1->setAlignment(Qt::AlignCenter);
    c.progressBar1->setAccessibleName(QStringLiteral("Progress Bar"));

    arrange(form, c);
    setForm1TabOrder(c);
    applyForm1Look(form, c);
    return c;
}

} // namespace tallyvane
