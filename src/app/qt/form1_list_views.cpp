#include "app/qt/form1_list_views.h"

#include "lists/list_model.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTreeView>

#include <memory>

namespace tallyvane {

namespace {

// The heading and this many rows stay in view when the window is made small.
constexpr int kFewestRowsShown = 2;

void follow(QTreeView* view, ListModel& model, ListFollows follows) {
    auto wasAtEnd = std::make_shared<bool>(true);
    QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, view, [view, wasAtEnd] {
        const QScrollBar* bar = view->verticalScrollBar();
        *wasAtEnd = bar->value() == bar->maximum();
    });
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, view, [view, wasAtEnd, follows] {
        // A hidden view is neither laid out nor scrolled: either would make
        // it keep a row of its own for every row of the model.
        if (!view->isVisible())
            return;
        // Laying out while the model announces rows lets the model time the
        // relayout and space its announcements by that cost.
        view->doItemsLayout();
        if (follows == ListFollows::EveryNewRow || *wasAtEnd)
            view->scrollToBottom();
    });
}

} // namespace

QTreeView* createListView(QWidget* parent, const char* name, ListModel& model,
                          ListFollows follows) {
    auto* view = new QTreeView(parent);
    view->setObjectName(QLatin1String(name));
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
    view->setMinimumHeight(view->header()->sizeHint().height() +
                           kFewestRowsShown * (view->fontMetrics().height() + 2) +
                           2 * view->frameWidth());
    QObject::connect(&model, &ListModel::firstColumnWidthChanged, view,
                     [view](int pixels) { view->setColumnWidth(0, pixels); });
    follow(view, model, follows);
    return view;
}

} // namespace tallyvane
