#include "platform/list_model.h"

#include "platform/failure.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>

#include <algorithm>

namespace tallyvane {

namespace {
constexpr qsizetype kLongestShownText = 2000;
constexpr qint64 kShortestAnnounceIntervalMs = 16;
constexpr qint64 kLongestAnnounceIntervalMs = 1000;
// The next announcement waits this many times as long as the last one took,
// so relayouts stay about a tenth of a long run however many rows there are.
constexpr qint64 kAnnounceCostFactor = 8;
constexpr int kTwipsPerPixel = 15;
} // namespace

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent), selection_(this) {
    announceTimer_.setSingleShot(true);
    announceTimer_.setInterval(static_cast<int>(kShortestAnnounceIntervalMs));
    connect(&announceTimer_, &QTimer::timeout, this, &ListModel::announcePendingRows);
    // Loops that pump events never let the loop block, so this fires only once
    // a command has handed control back (or a modal box waits for the user).
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &ListModel::announceWhenIdle);
}

int ListModel::checkedIndex(int position) const {
    if (position < 1 || position > count())
        throw Failure(QStringLiteral("Index out of bounds"));
    return position - 1;
}

QString ListModel::text(int position) const {
    return texts_[checkedIndex(position)];
}

QString ListModel::columnText(int position, int column) const {
    const int index = checkedIndex(position);
    if (column < 1)
        throw Failure(QStringLiteral("Index out of bounds"));
    if (column == 1)
        return texts_[index];
    if (subItems_.empty())
        return {};
    const QStringList& cells = subItems_[index];
    return column - 2 < cells.size() ? cells[column - 2] : QString();
}

bool ListModel::checked(int position) const {
    return checked_[checkedIndex(position)];
}

void ListModel::append(const QString& text) {
    texts_.push_back(text);
    checked_.push_back(true);
    if (!subItems_.empty())
        subItems_.emplace_back();
    scheduleAnnouncement();
}

void ListModel::appendRow(const QStringList& cells, bool checked) {
    if (subItems_.empty() && cells.size() > 1)
        subItems_.resize(texts_.size());
    texts_.push_back(cells.value(0));
    checked_.push_back(checked);
    // The first row of an empty list may bring sub-items too.
    if (!subItems_.empty() || cells.size() > 1)
        subItems_.push_back(cells.mid(1));
    scheduleAnnouncement();
}

void ListModel::remove(int position) {
    const int index = checkedIndex(position);
    const bool visible = index < announced_;
    if (visible)
        beginRemoveRows({}, index, index);
    texts_.erase(texts_.begin() + index);
    checked_.erase(checked_.begin() + index);
    if (!subItems_.empty())
        subItems_.erase(subItems_.begin() + index);
    if (visible) {
        --announced_;
        endRemoveRows();
    }
}

void ListModel::clear() {
    beginResetModel();
    // Swap with empties so that a cleared million-row list gives its memory back.
    std::vector<QString>().swap(texts_);
    std::vector<QStringList>().swap(subItems_);
    std::vector<bool>().swap(checked_);
    announced_ = 0;
    announceTimer_.stop();
    announceTimer_.setInterval(static_cast<int>(kShortestAnnounceIntervalMs));
    endResetModel();
}

int ListModel::selectedPosition() const {
    const QModelIndexList rows = selection_.selectedRows();
    if (rows.isEmpty())
        return 0;
    return rows.first().row() + 1;
}

QString ListModel::heading(int column) const {
    if (column < 1 || column > headings_.size())
        throw Failure(QStringLiteral("Index out of bounds"));
    return headings_[column - 1];
}

void ListModel::addColumn(const QString& heading) {
    const int column = static_cast<int>(headings_.size());
    beginInsertColumns({}, column, column);
    headings_.push_back(heading);
    endInsertColumns();
}

void ListModel::setFirstColumnWidthTwips(int twips) {
    if (headings_.isEmpty())
        throw Failure(QStringLiteral("Index out of bounds"));
    firstColumnWidthPixels_ = twips / kTwipsPerPixel;
    Q_EMIT firstColumnWidthChanged(firstColumnWidthPixels_);
}

void ListModel::scheduleAnnouncement() {
    if (!announceTimer_.isActive())
        announceTimer_.start();
}

void ListModel::announceWhenIdle() {
    if (announced_ < count())
        announcePendingRows();
}

void ListModel::announcePendingRows() {
    announceTimer_.stop();
    const int total = count();
    if (announced_ >= total)
        return;
    QElapsedTimer cost;
    cost.start();
    beginInsertRows({}, announced_, total - 1);
    announced_ = total;
    endInsertRows();
    // Views that lay out at once on the announcement are measured here; the
    // cost of a relayout grows with the rows, and a fixed interval would make a
    // long list's total relayout work grow with the square of its length.
    const qint64 spacingMs = cost.nsecsElapsed() * kAnnounceCostFactor / 1'000'000;
    announceTimer_.setInterval(static_cast<int>(
        std::clamp(spacingMs, kShortestAnnounceIntervalMs, kLongestAnnounceIntervalMs)));
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : announced_;
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

// A view asks for the index and flags of every row on each relayout; checking
// the bounds directly spares the virtual row and column counts each time.
QModelIndex ListModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= announced_ || column < 0 ||
        column >= headings_.size())
        return {};
    return createIndex(row, column);
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return {};
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= announced_)
        return {};
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const QString text = columnText(index.row() + 1, index.column() + 1);
    // Laying out a text of millions of characters freezes the view for
    // seconds; the row keeps its whole text, only the shown part is cut.
    if (text.size() > kLongestShownText)
        return QString(text.left(kLongestShownText) + QChar(0x2026));
    return text;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= headings_.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return headings_[section];
    return {};
}

} // namespace tallyvane
