#include "app/qt/form1_layout.h"

#include "app/qt/form1_look.h"
#include "lists/list_model.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

#include <iterator>

namespace tallyvane {

namespace {

QRect twips(int left, int top, int width, int height) {
    const auto px = [](int t) { return qRound(t / 15.0); };
    return {px(left), px(top), px(width), px(height)};
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setAccessibleName(caption);
    return b;
}

QTreeView* listView(QWidget* parent, const char* name, ListModel& model, QRect geometry) {
    auto* view = new QTreeView(parent);
    view->setObjectName(QLatin1String(name));
    view->setGeometry(geometry);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setModel(&model);
    view->setSelectionModel(model.selectionModel());
    view->header()->setStretchLastSection(false);
    view->setToolTip(QStringLiteral("Double-click item to remove it. Move | line to right and "
                                    "out of window to reveal full names."));
    QObject::connect(&model, &ListModel::firstColumnWidthChanged, view,
                     [view](int pixels) { view->setColumnWidth(0, pixels); });
    // Laying out while the model announces rows lets the model time the
    // relayout and space its announcements by that cost.
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, view, [view] {
        if (view->isVisible())
            view->doItemsLayout();
    });
    return view;
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
    form->setFixedSize(twips(0, 0, 8040, 8295).size());

    c.pushButton8 = button(form, "PushButton8", QStringLiteral("Help"), twips(120, 120, 7800, 405));
    c.listView1 = listView(form, "ListView1", entries, twips(120, 630, 7800, 1815));
    c.pushButton6 = button(form, "PushButton6", QStringLiteral("Add State or Area Code"),
                           twips(120, 2530, 3840, 405));
    c.pushButton3 = button(form, "PushButton3", QStringLiteral("Load State or Area Code From File"),
                           twips(4080, 2530, 3840, 405));
    c.pushButton1 =
        button(form, "PushButton1", QStringLiteral("Clear List"), twips(120, 3040, 3840, 405));
    c.pushButton7 = button(form, "PushButton7", QStringLiteral("Load Sample/Example Data"),
                           twips(4080, 3040, 3840, 405));

    c.frame2 = new QGroupBox(QStringLiteral(" Convert Options"), form);
    c.frame2->setObjectName(QStringLiteral("Frame2"));
    c.frame2->setGeometry(twips(120, 3510, 7800, 705));
    c.option1 = new QRadioButton(QStringLiteral("Convert Area Codes To States"), c.frame2);
    c.option1->setObjectName(QStringLiteral("Option1"));
    c.option1->setGeometry(twips(240, 300, 3135, 255));
    c.option1->setChecked(true);
    c.option2 = new QRadioButton(QStringLiteral("Convert States To Area Codes"), c.frame2);
    c.option2->setObjectName(QStringLiteral("Option2"));
    c.option2->setGeometry(twips(3600, 300, 3135, 255));

    c.pushButton17 = button(form, "PushButton17", QStringLiteral("Start Converting"),
                            twips(120, 4335, 7800, 405));
    c.listView2 = listView(form, "ListView2", results, twips(120, 4845, 7800, 1815));
    c.pushButton4 = button(form, "PushButton4", QStringLiteral("Save Results As Text File"),
                           twips(120, 6750, 3840, 405));
    c.pushButton13 = button(form, "PushButton13", QStringLiteral("Save Results As Excel File"),
                            twips(4080, 6750, 3840, 405));
    c.pushButton5 = button(form, "PushButton5", QStringLiteral("Copy Results To Clipboard"),
                           twips(120, 7260, 3840, 405));
    c.pushButton2 =
        button(form, "PushButton2", QStringLiteral("Clear Results"), twips(4080, 7260, 3840, 405));

    c.progressBar1 = new QProgressBar(form);
    c.progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    c.progressBar1->setGeometry(twips(120, 7780, 7800, 405));
    c.progressBar1->setFormat(QStringLiteral("Progress Bar"));
    c.progressBar1->setValue(0);
    c.progressBar1->setAlignment(Qt::AlignCenter);
    c.progressBar1->setAccessibleName(QStringLiteral("Progress Bar"));

    c.frame2->setAccessibleName(c.frame2->title().trimmed());
    c.option1->setAccessibleName(c.option1->text());
    c.option2->setAccessibleName(c.option2->text());
    setForm1TabOrder(c);
    applyForm1Look(form, c);
    return c;
}

} // namespace tallyvane
