#include "app/qt/form1_list_views.h"

#include "app/qt/form1_fit.h"
#include "lists/list_model.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <memory>

namespace tallyvane {

namespace {

// The heading and this many rows stay in view when the window is made small.
// The list's one column is as wide as the list, or as the model's widest row
// asks where that is wider (the person may still drag it wider): a long
// result is not cut short while the window has room for it.
class ColumnFollowsWidth : public QObject {
public:
    explicit ColumnFollowsWidth(QTableView* view)
        : QObject(view), view_(view), viewport_(view->viewport()) {
        viewport_->installEventFilter(this);
    }
    void setLeast(int pixels) {
        least_ = pixels;
        apply();
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The viewport is compared as it was kept: while the view is being
        // destroyed it may no longer be asked for it.
        if (watched == viewport_ && event->type() == QEvent::Resize)
            apply();
        return false;
    }

    // Columns shown beside the list's own (the time zones) take the room they
    // need, and the list's own what is left of the list's width, so that they
    // show within it; when even a narrow first column leaves them too little,
    // the window is widened once as they come (within the screen).
    void apply() { fit(false); }
    void columnsCame() { fit(true); }

private:
    void fit(bool widenWindow) {
        const int columns = view_->model() ? view_->model()->columnCount() : 1;
        const int width = view_->viewport()->width();
        if (columns <= 1) {
            view_->setColumnWidth(0, std::max(least_, width));
            return;
        }
        const int character = view_->fontMetrics().averageCharWidth();
        int others = 0;
        for (int column = 1; column < columns; ++column) {
            // Room for "Central or Eastern" and "14:05 or 13:05" before any row has come.
            const int room = (column == 1 ? 20 : 16) * character;
            view_->resizeColumnToContents(column);
            view_->setColumnWidth(column, std::max(room, view_->columnWidth(column)));
            others += view_->columnWidth(column);
        }
        const int first = std::max(kNarrowestFirst * character, width - others);
        view_->setColumnWidth(0, first);
        if (const int lacking = first + others - width; widenWindow && lacking > 0) {
            QWidget* window = view_->window();
            resizeWithinScreen(window, window->size() + QSize(lacking, 0));
        }
    }

    static constexpr int kNarrowestFirst = 14;

    QTableView* view_;
    QWidget* viewport_;
    int least_ = 0;
};

void follow(QTableView* view, ListModel& model, ListFollows follows) {
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

void keepFewestRowsInView(QTableView* view, int rows) {
    view->setMinimumHeight(view->horizontalHeader()->sizeHint().height() +
                           rows * view->verticalHeader()->defaultSectionSize() +
                           2 * view->frameWidth());
}

QTableView* createListView(QWidget* parent, const char* name, ListModel& model,
                           ListFollows follows) {
    // A table view keeps eight bytes a row (its row header's sections); a
    // tree view kept forty, which for ten million rows was most of the
    // window's memory. Without a grid or row numbers it shows the same list.
    auto* view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setCornerButtonEnabled(false);
    view->setTabKeyNavigation(false); // Tab leaves the list, in the window's tab order
    QHeaderView* rows = view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(view->fontMetrics().height() + 2);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setModel(&model);
    view->setSelectionModel(model.selectionModel());
    view->horizontalHeader()->setStretchLastSection(false);
    view->setToolTip(QStringLiteral("Double-click item to remove it. Move | line to right and "
                                    "out of window to reveal full names."));
    keepFewestRowsInView(view, 2); // until the window is shown and styled
    auto* width = new ColumnFollowsWidth(view);
    QObject::connect(&model, &ListModel::firstColumnWidthChanged, view,
                     [width](int pixels) { width->setLeast(pixels); });
    QObject::connect(&model, &QAbstractItemModel::columnsInserted, width,
                     &ColumnFollowsWidth::columnsCame);
    QObject::connect(&model, &QAbstractItemModel::columnsRemoved, width,
                     &ColumnFollowsWidth::apply);
    follow(view, model, follows);
    return view;
}

} // namespace tallyvane
