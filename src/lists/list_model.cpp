#include "lists/list_model.h"

#include "platform/twips.h"

#include "platform/failure.h"
#include "platform/text_cut.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace tallyvane {

namespace {
// A row keeps its whole text; a view shows at most this much of it.
constexpr qsizetype kLongestShownText = 2000;
constexpr qint64 kShortestAnnounceIntervalMs = 16;
constexpr qint64 kLongestAnnounceIntervalMs = 1000;
// The next announcement waits this many times as long as the last one took,
// so relayouts stay about a tenth of a long run however many rows there are.
constexpr qint64 kAnnounceCostFactor = 8;
constexpr std::size_t kRowsPerRoomCheck = 1 << 20;
constexpr std::size_t kViewBytesPerRow = 24;

// A view keeps 8 bytes for each row it shows (a section of its row header),
// in a table whose room it rounds up to a power of two and copies as it
// grows, and laying out rows it has no room for crashes it. So a list grows by a million rows only
// while its views would still find room for them all, and otherwise refuses the row as out of
// memory.
void makeSureViewsHaveRoom(std::size_t rows) {
    if (rows == 0 || rows % kRowsPerRoomCheck != 0)
        return;
    void* room = std::malloc((rows + kRowsPerRoomCheck) * kViewBytesPerRow);
    if (!room)
        throw std::bad_alloc();
    std::free(room);
}
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

std::size_t ListModel::checkedIndex(int position) const {
    if (position < 1 || position > count())
        throw Failure(QStringLiteral("Index out of bounds"));
    return std::size_t(position - 1);
}

QString ListModel::text(int position) const {
    return rows_.text(checkedIndex(position));
}

QString ListModel::columnText(int position, int column) const {
    const std::size_t index = checkedIndex(position);
    if (column < 1)
        throw Failure(QStringLiteral("Index out of bounds"));
    return column == 1 ? rows_.text(index) : rows_.subItem(index, column - 1);
}

bool ListModel::checked(int position) const {
    return rows_.checked(checkedIndex(position));
}

SharedText ListModel::sharedText(int position) const {
    return rows_.sharedText(checkedIndex(position));
}

void ListModel::appendChecked(QStringView text, bool checked, const QStringList* subItems) {
    makeSureViewsHaveRoom(rows_.size());
    rows_.append(text, checked, subItems);
    if (!announceTimer_.isActive())
        announceTimer_.start();
}

void ListModel::append(const QString& text) {
    appendChecked(text, true, nullptr);
}

void ListModel::appendRow(const QStringList& cells, bool checked) {
    const QStringList subItems = cells.mid(1);
    appendChecked(cells.value(0), checked, &subItems);
}

void ListModel::setNextRowOrigin(const ListView& source, int sourcePosition) {
    if (sourcePosition < 1 || sourcePosition > source.count())
        return rows_.clearNextOrigin(); // a row that is gone gives no origin
    rows_.setNextOrigin(source.sharedText(sourcePosition), sourcePosition);
    rows_.setNextSourceKey(source.sourceKey(sourcePosition));
}

std::uint64_t ListModel::sourceKey(int position) const {
    return rows_.sourceKey(checkedIndex(position));
}

void ListModel::setNextRowSourceKey(std::uint64_t key) {
    rows_.setNextSourceKey(key);
}

void ListModel::setNextRowNote(const QString& note) {
    rows_.setNextNote(note);
}

QString ListModel::originText(int position) const {
    const std::size_t index = checkedIndex(position);
    const int origin = rows_.originPosition(index);
    if (origin == 0)
        return {};
    QString text =
        QStringLiteral("Entry %1: %2")
            .arg(origin)
            .arg(cutText(rows_.originText(index, kLongestShownText + 1), kLongestShownText));
    if (const QString& note = rows_.note(index); !note.isEmpty())
        text += QStringLiteral(" \u2014 ") + note;
    return text;
}

QString ListModel::originEntry(int position) const {
    const std::size_t index = checkedIndex(position);
    return rows_.originPosition(index) == 0 ? QString() : rows_.originText(index, -1);
}

QString ListModel::note(int position) const {
    return rows_.note(checkedIndex(position));
}

void ListModel::remove(int position) {
    const std::size_t index = checkedIndex(position);
    const bool visible = int(index) < announced_;
    if (visible)
        beginRemoveRows({}, int(index), int(index));
    rows_.erase(index);
    if (visible) {
        --announced_;
        endRemoveRows();
    }
}

void ListModel::clear() {
    beginResetModel();
    rows_.clear();
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
    firstColumnWidthPixels_ = pixelsFromTwips(twips);
    Q_EMIT firstColumnWidthChanged(firstColumnWidthPixels_);
}

void ListModel::announceWhenIdle() {
    rows_.forgetCachedText();
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
    return parent.isValid() ? 0 : static_cast<int>(headings_.size()) + shownCount();
}

void ListModel::showColumns(ColumnProvider* provider) {
    const QStringList headings = provider->headings();
    if (std::find(shown_.begin(), shown_.end(), provider) != shown_.end() || headings.isEmpty())
        return;
    const int first = static_cast<int>(headings_.size()) + shownCount();
    beginInsertColumns({}, first, first + int(headings.size()) - 1);
    shown_.push_back(provider);
    shownHeadings_ += headings;
    endInsertColumns();
}

void ListModel::hideColumns(ColumnProvider* provider) {
    const auto at = std::find(shown_.begin(), shown_.end(), provider);
    if (at == shown_.end())
        return;
    int first = static_cast<int>(headings_.size());
    for (auto it = shown_.begin(); it != at; ++it)
        first += int((*it)->headings().size());
    const int count = int(provider->headings().size());
    beginRemoveColumns({}, first, first + count - 1);
    shown_.erase(at);
    shownHeadings_.remove(first - int(headings_.size()), count);
    endRemoveColumns();
}

std::pair<ColumnProvider*, int> ListModel::shownColumn(int column) const {
    for (ColumnProvider* provider : shown_) {
        const int count = int(provider->headings().size());
        if (column < count)
            return {provider, column};
        column -= count;
    }
    return {nullptr, 0};
}

void ListModel::refreshShownColumns() {
    if (shown_.empty() || announced_ == 0)
        return;
    const int own = static_cast<int>(headings_.size());
    Q_EMIT dataChanged(index(0, own), index(announced_ - 1, own + shownCount() - 1));
}

// A view asks for the index and flags of every row on each relayout; checking
// the bounds directly spares the virtual row and column counts each time.
QModelIndex ListModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= announced_ || column < 0 ||
        column >= headings_.size() + shownHeadings_.size())
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
    if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
        // Rows without an origin leave the view's own tooltip in place.
        QString origin = originText(index.row() + 1);
        for (ColumnProvider* provider : shown_) {
            if (origin.isEmpty())
                break;
            if (const QString more = provider->tooltip(index.row() + 1); !more.isEmpty())
                origin += QLatin1Char('\n') + more;
        }
        return origin.isEmpty() ? QVariant() : QVariant(origin);
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (index.column() >= headings_.size()) {
        const auto [provider, column] = shownColumn(index.column() - int(headings_.size()));
        return provider ? provider->text(index.row() + 1, column) : QString();
    }
    const auto row = std::size_t(index.row());
    const QString text = index.column() == 0 ? rows_.text(row, kLongestShownText + 1)
                                             : rows_.subItem(row, index.column());
    return cutText(text, kLongestShownText);
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= headings_.size() + shownHeadings_.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return section < headings_.size() ? headings_[section]
                                          : shownHeadings_[section - headings_.size()];
    return {};
}

} // namespace tallyvane
