#include "app/qt/summary_view.h"

#include "app/qt/form1_fit.h"
#include "app/qt/form1_services.h"
#include "app/qt/state_map.h"
#include "app/qt/summary_image.h"
#include "lists/list_view.h"
#include "results/summary_exports.h"

#include <QAbstractItemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace tallyvane {

namespace {
constexpr int kSliceRows = 50'000; // a few milliseconds of counting between events
constexpr int kSortRole = Qt::UserRole;
} // namespace

SummaryView::SummaryView(QWidget* parent, Form1Services& services, QAbstractItemModel& resultsModel,
                         std::function<Direction()> direction)
    : QDialog(parent), s_(services), direction_(std::move(direction)), status_(new QLabel(this)),
      table_(new QStandardItemModel(this)), sorted_(new QSortFilterProxyModel(this)),
      view_(new QTableView(this)), map_(new StateMap(this)), tile_(new QLabel(this)) {
    setObjectName(QStringLiteral("SummaryView"));
    setWindowTitle(QStringLiteral("Summary"));
    status_->setObjectName(QStringLiteral("SummaryStatus"));
    tile_->setObjectName(QStringLiteral("SummaryTile"));
    view_->setObjectName(QStringLiteral("SummaryTable"));
    view_->setAccessibleName(QStringLiteral("Summary table"));
    sorted_->setSourceModel(table_);
    sorted_->setSortRole(kSortRole);
    view_->setModel(sorted_);
    view_->setSortingEnabled(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setStretchLastSection(false);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(view_);
    auto* mapSide = new QWidget(splitter);
    auto* mapLayout = new QVBoxLayout(mapSide);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    mapLayout->addWidget(map_, 1);
    mapLayout->addWidget(tile_);
    splitter->addWidget(mapSide);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({480, 500});
    connect(splitter, &QSplitter::splitterMoved, this, &SummaryView::fitColumns);

    QPushButton* copy = button(QStringLiteral("Copy Summary"), QStringLiteral("CopySummary"));
    QPushButton* save =
        button(QStringLiteral("Save Summary As CSV…"), QStringLiteral("SaveSummaryAsCsv"));
    QPushButton* image =
        button(QStringLiteral("Save Map As Image…"), QStringLiteral("SaveMapAsImage"));
    QPushButton* close = button(QStringLiteral("Close"), QStringLiteral("CloseSummary"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    for (QPushButton* b : {copy, save, image, close})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    resizeWithinScreen(this, QSize(1000, 560));

    connect(copy, &QPushButton::clicked, this,
            [this] { CopySummary(s_.prompts, s_.clipboard, summary_); });
    connect(save, &QPushButton::clicked, this,
            [this] { SaveSummaryAsCsv(s_.prompts, s_.dialog, s_.window, summary_); });
    connect(image, &QPushButton::clicked, this,
            [this] { SaveMapAsImage(s_.prompts, s_.dialog, s_.window, *map_); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(map_, &StateMap::currentTileChanged, tile_, &QLabel::setText);

    // Rows are announced in batches while a run adds them: one count after
    // the changes settle, not one per batch.
    recount_.setSingleShot(true);
    recount_.setInterval(100);
    connect(&recount_, &QTimer::timeout, this, &SummaryView::startCount);
    slice_.setSingleShot(true);
    slice_.setInterval(0);
    connect(&slice_, &QTimer::timeout, this, &SummaryView::countSlice);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&resultsModel, signal, this, &SummaryView::scheduleRecount);
    connect(&resultsModel, &QAbstractItemModel::modelReset, this, &SummaryView::scheduleRecount);
    connect(&resultsModel, &QAbstractItemModel::dataChanged, this, &SummaryView::scheduleRecount);
    startCount();
}

QPushButton* SummaryView::button(const QString& text, const QString& name) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void SummaryView::scheduleRecount() {
    slice_.stop();
    counting_ = false;
    recount_.start();
}

void SummaryView::startCount() {
    tally_.emplace(direction_());
    next_ = 1;
    counting_ = true;
    status_->setText(QStringLiteral("Counting…"));
    countSlice();
}

void SummaryView::countSlice() {
    const ListView& results = s_.results;
    const int last = std::min(results.count(), next_ + kSliceRows - 1);
    for (; next_ <= last; ++next_)
        tally_->add(results.text(next_), results.note(next_));
    if (next_ <= results.count()) {
        slice_.start();
        return;
    }
    counting_ = false;
    present(tally_->summary());
}

// Every column is as wide as its text, but the names give way (elided, the
// whole name in the cell's tooltip) so that Count and Share % stay in sight
// however wide a theme's font or a long reason makes them.
void SummaryView::fitColumns() {
    view_->resizeColumnsToContents();
    QHeaderView* header = view_->horizontalHeader();
    constexpr int kName = 1;
    constexpr int kLeastName = 80;
    int others = 0;
    for (int c = 0; c < header->count(); ++c)
        others += c == kName ? 0 : header->sectionSize(c);
    const int room = view_->viewport()->width();
    if (header->count() > kName && others + header->sectionSize(kName) > room)
        header->resizeSection(kName, std::max(kLeastName, room - others));
}

void SummaryView::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fitColumns();
}

void SummaryView::present(ResultsSummary summary) {
    summary_ = std::move(summary);
    table_->clear();
    const QList<QStringList> rows = summaryTable(summary_);
    table_->setHorizontalHeaderLabels(rows.front());
    for (qsizetype r = 1; r < rows.size(); ++r) {
        QList<QStandardItem*> cells;
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            auto* item = new QStandardItem(rows[r][c]);
            // The table sorts numbers as numbers; rows keep their order otherwise.
            item->setData(c == 2   ? QVariant(rows[r][c].toULongLong())
                          : c == 3 ? QVariant(rows[r][c].toDouble())
                                   : QVariant(rows[r][c]),
                          kSortRole);
            if (c >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            else
                item->setToolTip(rows[r][c]); // the whole text of a name cut short
            cells.append(item);
        }
        table_->appendRow(cells);
    }
    sorted_->sort(-1); // the summary's own order until a heading is clicked
    view_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    fitColumns();

    MapCounts counts;
    if (summary_.direction == Direction::AreaCodesToStates) {
        for (const SummaryCount& place : summary_.places) {
            counts.byCode.insert(place.name, place.count);
            counts.largest = std::max(counts.largest, place.count);
        }
    }
    map_->setCounts(std::move(counts));
    if (summary_.direction == Direction::StatesToAreaCodes)
        tile_->setText(QStringLiteral("The map counts the states of area codes; these results "
                                      "are area codes of states."));
    status_->setText(
        QStringLiteral("%1 entries").arg(QLocale().toString(qulonglong(summary_.entries))));
    Q_EMIT summaryShown();
}

} // namespace tallyvane
