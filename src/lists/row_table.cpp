#include "lists/row_table.h"

#include <algorithm>
#include <utility>

namespace tallyvane {

namespace {
// A command reads a huge entry more than once (the run reads it twice), and
// each copy of hundreds of megabytes is a pause: texts this long are copied
// once and the copy is shared until forgetCachedText().
constexpr qsizetype kLongestUncachedText = 1 << 20;
} // namespace

TextStore& RowTable::store() {
    if (!store_)
        store_ = std::make_shared<TextStore>();
    return *store_;
}

void RowTable::append(QStringView text, bool checked, const QStringList* subItems) {
    const TextStore::Handle handle = store().add(text);
    PendingOrigin origin = std::exchange(pendingOrigin_, PendingOrigin{});
    const QString note = std::exchange(pendingNote_, QString());
    const std::uint64_t key = std::exchange(pendingSourceKey_, 0);
    const bool withKey = key != 0 || !sourceKeys_.empty();
    const bool withOrigin = origin.position != 0 || !originPositions_.empty();
    const bool withNote = !note.isEmpty() || !notes_.empty();
    const bool withSubItems = (subItems && !subItems->isEmpty()) || !subItems_.empty();
    const std::size_t before = texts_.size();
    try {
        if (withOrigin) {
            const TextStore::Handle from = origin.position != 0 ? originHandle(origin.text) : 0;
            originTexts_.resize(before);
            originPositions_.resize(before);
            originTexts_.push_back(from);
            originPositions_.push_back(static_cast<std::uint32_t>(origin.position));
        }
        if (withKey) {
            sourceKeys_.resize(before);
            sourceKeys_.push_back(key);
        }
        if (withNote) {
            const std::uint16_t id = noteId(note);
            notes_.resize(before);
            notes_.push_back(id);
        }
        if (withSubItems) {
            subItems_.resize(before);
            subItems_.push_back(subItems ? *subItems : QStringList());
        }
        checked_.push_back(checked);
        texts_.push_back(handle);
    } catch (...) {
        pendingOrigin_ = std::move(origin);
        pendingNote_ = note;
        pendingSourceKey_ = key;
        sourceKeys_.resize(std::min(sourceKeys_.size(), before));
        notes_.resize(std::min(notes_.size(), before));
        originTexts_.resize(std::min(originTexts_.size(), before));
        originPositions_.resize(std::min(originPositions_.size(), before));
        subItems_.resize(std::min(subItems_.size(), before));
        checked_.resize(std::min(checked_.size(), before));
        throw;
    }
}

void RowTable::setNextOrigin(SharedText text, int position) {
    pendingOrigin_ = {std::move(text), position};
}

// The origin's text handle, tagged with the store it lies in.
TextStore::Handle RowTable::originHandle(const SharedText& text) {
    if (!text.store)
        return store().add(text.copy); // tag 0: this list's own store
    if (TextStore::isInline(text.handle))
        return text.handle;
    const auto found = std::find(originStores_.rbegin(), originStores_.rend(), text.store);
    if (found != originStores_.rend())
        return text.handle | TextStore::Handle(originStores_.rend() - found)
                                 << TextStore::kTagShift;
    if (originStores_.size() < kOriginStoreLimit) {
        originStores_.push_back(text.store);
        return text.handle | TextStore::Handle(originStores_.size()) << TextStore::kTagShift;
    }
    return store().add(text.store->text(text.handle));
}

void RowTable::erase(std::size_t index) {
    // The text stays in the store, where another list may refer to it; a
    // cleared table gives the store up.
    texts_.erase(texts_.begin() + std::ptrdiff_t(index));
    checked_.erase(checked_.begin() + std::ptrdiff_t(index));
    if (!subItems_.empty())
        subItems_.erase(subItems_.begin() + std::ptrdiff_t(index));
    if (!originPositions_.empty()) {
        originTexts_.erase(originTexts_.begin() + std::ptrdiff_t(index));
        originPositions_.erase(originPositions_.begin() + std::ptrdiff_t(index));
    }
    if (!notes_.empty())
        notes_.erase(notes_.begin() + std::ptrdiff_t(index));
    if (!sourceKeys_.empty())
        sourceKeys_.erase(sourceKeys_.begin() + std::ptrdiff_t(index));
}

void RowTable::clear() {
    // Swapped with empties so that a cleared million-row list gives its memory
    // back; its texts go once no other list refers to them.
    std::deque<TextStore::Handle>().swap(texts_);
    std::vector<QStringList>().swap(subItems_);
    std::vector<bool>().swap(checked_);
    std::deque<TextStore::Handle>().swap(originTexts_);
    std::deque<std::uint32_t>().swap(originPositions_);
    originStores_.clear();
    pendingOrigin_ = {};
    std::deque<std::uint16_t>().swap(notes_);
    noteTexts_ = QStringList{QString()};
    noteIds_.clear();
    lastNoteId_ = 0;
    pendingNote_.clear();
    std::deque<std::uint64_t>().swap(sourceKeys_);
    pendingSourceKey_ = 0;
    store_.reset();
    forgetCachedText();
}

QString RowTable::text(std::size_t index, qsizetype maxChars) const {
    const TextStore::Handle handle = texts_[index];
    if (maxChars >= 0 || store_->size(handle) < kLongestUncachedText)
        return store_->text(handle, maxChars);
    if (cachedText_.isNull() || cachedHandle_ != handle || cachedStore_ != store_.get()) {
        cachedText_ = store_->text(handle);
        cachedHandle_ = handle;
        cachedStore_ = store_.get();
    }
    return cachedText_;
}

QString RowTable::subItem(std::size_t index, int which) const {
    if (subItems_.empty() || which < 1)
        return {};
    return subItems_[index].value(which - 1);
}

int RowTable::originPosition(std::size_t index) const {
    return originPositions_.empty() ? 0 : static_cast<int>(originPositions_[index]);
}

const TextStore& RowTable::originStore(TextStore::Handle tagged) const {
    static const TextStore kNoStore; // a text that lives in its handle needs none
    if (TextStore::isInline(tagged))
        return kNoStore;
    const auto tag = (tagged & TextStore::kTagMask) >> TextStore::kTagShift;
    return tag == 0 ? *store_ : *originStores_[tag - 1];
}

std::uint16_t RowTable::noteId(const QString& note) {
    if (note.isEmpty())
        return 0;
    // Runs of rows share one note object: no hashing for them.
    if (note.isSharedWith(noteTexts_[lastNoteId_]))
        return lastNoteId_;
    const auto found = noteIds_.constFind(note);
    if (found != noteIds_.constEnd())
        return lastNoteId_ = *found;
    // A list holds a few dozen distinct notes; should one ever hold more than
    // a number can name, the later ones are not kept.
    if (noteTexts_.size() > 0xFFFF)
        return 0;
    noteTexts_.append(note);
    const auto id = static_cast<std::uint16_t>(noteTexts_.size() - 1);
    noteIds_.insert(note, id);
    return lastNoteId_ = id;
}

const QString& RowTable::note(std::size_t index) const {
    return noteTexts_[notes_.empty() ? 0 : notes_[index]];
}

QString RowTable::originText(std::size_t index, qsizetype maxChars) const {
    if (originPosition(index) == 0)
        return {};
    const TextStore::Handle tagged = originTexts_[index];
    const TextStore::Handle handle =
        TextStore::isInline(tagged) ? tagged : tagged & ~TextStore::kTagMask;
    return originStore(tagged).text(handle, maxChars);
}

} // namespace tallyvane
