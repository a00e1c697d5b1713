#include "platform/list_model.h"

#include "platform/failure.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

namespace tallyvane {

namespace {
constexpr qsizetype kLongestShownText = 2000;
constexpr qint64 kShortestAnnounceIntervalMs = 16;
constexpr qint64 kLongestAnnounceIntervalMs = 1000;
// The next announcement waits this many times as long as the last one took,
// so relayouts stay about a tenth of a long run however many rows there are.
constexpr qint64 kAnnounceCostFactor = 8;
constexpr int kTwipsPerPixel = 15;
constexpr qsizetype kLongestUncachedText = 1 << 20;
constexpr std::size_t kRowsPerRoomCheck = 1 << 20;
constexpr std::size_t kViewBytesPerRow = 96;
// Beyond this many stores the origins' texts are copied into the list's own.
constexpr std::size_t kOriginStoreLimit = 127;

// Laying out a text of millions of characters freezes a view for seconds; a
// row keeps its whole text, only the shown part is cut.
QString cut(QString text) {
    if (text.size() > kLongestShownText) {
        text.truncate(kLongestShownText);
        text += QChar(0x2026);
    }
    return text;
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

int ListModel::checkedIndex(int position) const {
    if (position < 1 || position > count())
        throw Failure(QStringLiteral("Index out of bounds"));
    return position - 1;
}

TextStore& ListModel::store() {
    if (!store_)
        store_ = std::make_shared<TextStore>();
    return *store_;
}

QString ListModel::text(int position) const {
    const TextStore::Handle handle = texts_[checkedIndex(position)];
    if (store_->size(handle) < kLongestUncachedText)
        return store_->text(handle);
    // A command reads a huge entry more than once (the run reads it twice),
    // and each copy of hundreds of megabytes is a pause; the copy is shared
    // until the event loop next waits.
    if (cachedText_.isNull() || cachedHandle_ != handle || cachedStore_ != store_.get()) {
        cachedText_ = store_->text(handle);
        cachedHandle_ = handle;
        cachedStore_ = store_.get();
    }
    return cachedText_;
}

QString ListModel::columnText(int position, int column) const {
    const int index = checkedIndex(position);
    if (column < 1)
        throw Failure(QStringLiteral("Index out of bounds"));
    if (column == 1)
        return store_->text(texts_[index]);
    if (subItems_.empty())
        return {};
    const QStringList& cells = subItems_[index];
    return column - 2 < cells.size() ? cells[column - 2] : QString();
}

bool ListModel::checked(int position) const {
    return checked_[checkedIndex(position)];
}

void ListModel::append(const QString& text) {
    pushRow(text, true, nullptr);
    scheduleAnnouncement();
}

void ListModel::appendRow(const QStringList& cells, bool checked) {
    if (subItems_.empty() && cells.size() > 1)
        subItems_.resize(texts_.size());
    const QStringList rest = cells.mid(1);
    // The first row of an empty list may bring sub-items too.
    pushRow(cells.value(0), checked, subItems_.empty() && cells.size() <= 1 ? nullptr : &rest);
    scheduleAnnouncement();
}

void ListModel::setNextRowOrigin(const ListView& source, int sourcePosition) {
    pendingOrigin_ = {};
    if (sourcePosition < 1 || sourcePosition > source.count())
        return; // a row that is gone gives no origin
    Origin origin;
    if (const auto* model = dynamic_cast<const ListModel*>(&source)) {
        origin.text = model->texts_[std::size_t(sourcePosition - 1)];
        origin.store = model->store_;
    } else {
        origin.text = store().add(source.text(sourcePosition));
        origin.store = store_;
    }
    origin.position = sourcePosition;
    pendingOrigin_ = std::move(origin);
}

// The origin's text handle, tagged with the store it lies in.
TextStore::Handle ListModel::originHandle(const Origin& origin) {
    if (TextStore::isInline(origin.text))
        return origin.text;
    auto found = std::find(originStores_.rbegin(), originStores_.rend(), origin.store);
    if (found != originStores_.rend())
        return origin.text | TextStore::Handle(originStores_.rend() - found)
                                 << TextStore::kTagShift;
    if (originStores_.size() < kOriginStoreLimit) {
        originStores_.push_back(origin.store);
        return origin.text | TextStore::Handle(originStores_.size()) << TextStore::kTagShift;
    }
    // Tag 0: a copy in this list's own store.
    return store().add(origin.store->text(origin.text));
}

// Every container grows by one row or none: running out of memory part way
// leaves the list as it was.
void ListModel::pushRow(const QString& text, bool checked, const QStringList* cells) {
    // A view keeps 40 bytes for each row it shows, in a table whose room it
    // rounds up to a power of two, and laying out rows it has no room for
    // crashes it. So a list grows by a million rows only
    // while their views would still find room for them all, and otherwise
    // refuses the row as out of memory.
    if (!texts_.empty() && texts_.size() % kRowsPerRoomCheck == 0) {
        void* room = std::malloc((texts_.size() + kRowsPerRoomCheck) * kViewBytesPerRow);
        if (!room)
            throw std::bad_alloc();
        std::free(room);
    }
    const TextStore::Handle handle = store().add(text);
    const Origin origin = std::exchange(pendingOrigin_, Origin{});
    const bool withOrigin = origin.position != 0 || !originPositions_.empty();
    const std::size_t before = texts_.size();
    try {
        TextStore::Handle from = 0;
        if (withOrigin) {
            from = origin.position != 0 ? originHandle(origin) : 0;
            originTexts_.resize(before);
            originPositions_.resize(before);
            originTexts_.push_back(from);
            originPositions_.push_back(static_cast<std::uint32_t>(origin.position));
        }
        if (cells)
            subItems_.push_back(*cells);
        else if (!subItems_.empty())
            subItems_.emplace_back();
        checked_.push_back(checked);
        texts_.push_back(handle);
    } catch (...) {
        pendingOrigin_ = origin;
        if (originTexts_.size() > before)
            originTexts_.resize(before);
        if (originPositions_.size() > before)
            originPositions_.resize(before);
        if (subItems_.size() > before)
            subItems_.resize(before);
        if (checked_.size() > before)
            checked_.resize(before);
        throw;
    }
}

QString ListModel::originText(int position) const {
    const int index = checkedIndex(position);
    if (originPositions_.empty() || originPositions_[index] == 0)
        return {};
    const TextStore::Handle tagged = originTexts_[index];
    const auto tag = (tagged & TextStore::kTagMask) >> TextStore::kTagShift;
    const TextStore::Handle handle =
        TextStore::isInline(tagged) ? tagged : tagged & ~TextStore::kTagMask;
    static const TextStore kNoStore; // a text that lives in its handle needs none
    const TextStore& from = TextStore::isInline(tagged) ? kNoStore
                            : tag == 0                  ? *store_
                                                        : *originStores_[tag - 1];
    return QStringLiteral("Entry %1: %2")
        .arg(originPositions_[index])
        .arg(cut(from.text(handle, kLongestShownText + 1)));
}

void ListModel::remove(int position) {
    const int index = checkedIndex(position);
    const bool visible = index < announced_;
    if (visible)
        beginRemoveRows({}, index, index);
    // The text stays in the store, where another list may refer to it; a
    // cleared list gives the store up.
    texts_.erase(texts_.begin() + index);
    checked_.erase(checked_.begin() + index);
    if (!subItems_.empty())
        subItems_.erase(subItems_.begin() + index);
    if (!originPositions_.empty()) {
        originTexts_.erase(originTexts_.begin() + index);
        originPositions_.erase(originPositions_.begin() + index);
    }
    if (visible) {
        --announced_;
        endRemoveRows();
    }
}

void ListModel::clear() {
    beginResetModel();
    // Swap with empties so that a cleared million-row list gives its memory
    // back; its texts go once no other list refers to them.
    std::deque<TextStore::Handle>().swap(texts_);
    std::vector<QStringList>().swap(subItems_);
    std::vector<bool>().swap(checked_);
    std::deque<TextStore::Handle>().swap(originTexts_);
    std::deque<std::uint32_t>().swap(originPositions_);
    originStores_.clear();
    store_.reset();
    cachedText_ = QString();
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
    cachedText_ = QString();
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
    if (role == Qt::ToolTipRole) {
        // Rows without an origin leave the view's own tooltip in place.
        const QString origin = originText(index.row() + 1);
        return origin.isEmpty() ? QVariant() : QVariant(origin);
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (index.column() == 0)
        return cut(store_->text(texts_[std::size_t(index.row())], kLongestShownText + 1));
    return cut(columnText(index.row() + 1, index.column() + 1));
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= headings_.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return headings_[section];
    return {};
}

} // namespace tallyvane
