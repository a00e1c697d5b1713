#pragma once

#include "lists/list_view.h"
#include "lists/text_store.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace tallyvane {

// The rows of one list, held compactly so that ten million rows fit in a few
// hundred megabytes: each row is an 8-byte handle into a shared text store,
// kept in a deque so that growing never copies the rows or holds twice their
// room. Beside the texts, in containers that stay empty until a row needs
// them: check states, sub-items, and the row of another list each row came
// from. Indexes are 0-based and must exist.
class RowTable {
public:
    std::size_t size() const { return texts_.size(); }

    // Every container grows by one row or none: running out of memory part
    // way (std::bad_alloc) leaves the table as it was.
    void append(QStringView text, bool checked = true, const QStringList* subItems = nullptr);
    // The row appended next comes from the row of another list at this
    // 1-based position, with this text.
    void setNextOrigin(SharedText text, int position);
    void clearNextOrigin() { pendingOrigin_ = {}; }
    // The row appended next carries this key of a kept table's cell.
    void setNextSourceKey(std::uint64_t key) { pendingSourceKey_ = key; }
    // The row appended next carries this note.
    void setNextNote(const QString& note) { pendingNote_ = note; }
    void erase(std::size_t index);
    // Forgets every row and gives the memory back; texts another list refers
    // to stay with that list.
    void clear();

    // The first maxChars characters of the text, or the whole text.
    QString text(std::size_t index, qsizetype maxChars = -1) const;
    SharedText sharedText(std::size_t index) const { return {store_, texts_[index], {}}; }
    bool checked(std::size_t index) const { return checked_[index]; }
    // Sub-item 1 and later; empty where the row has none.
    QString subItem(std::size_t index, int which) const;
    // The 1-based position of the row this one came from, 0 for none.
    int originPosition(std::size_t index) const;
    QString originText(std::size_t index, qsizetype maxChars) const;
    // The key of the kept table's cell the row came from, 0 for none.
    std::uint64_t sourceKey(std::size_t index) const {
        return sourceKeys_.empty() ? 0 : sourceKeys_[index];
    }
    // The row's note, empty for none.
    const QString& note(std::size_t index) const;

    // A huge text read twice in a row is copied once; the copy is dropped here.
    void forgetCachedText() const { cachedText_ = QString(); }

    // Beyond this many stores an origin's text is copied into the list's own.
    static constexpr std::size_t kOriginStoreLimit = 127;

private:
    struct PendingOrigin {
        SharedText text;
        int position = 0;
    };
    TextStore& store();
    TextStore::Handle originHandle(const SharedText& text);
    std::uint16_t noteId(const QString& note);
    const TextStore& originStore(TextStore::Handle tagged) const;

    std::shared_ptr<TextStore> store_; // made on the first append after a clear
    std::deque<TextStore::Handle> texts_;
    std::vector<bool> checked_;
    std::vector<QStringList> subItems_; // empty until a row with sub-items arrives

    // Where each row came from; empty until a row with an origin arrives. The
    // text handle's tag names the store in originStores_ (0: this list's own).
    std::deque<TextStore::Handle> originTexts_;
    std::deque<std::uint32_t> originPositions_; // 0: no origin
    std::vector<std::shared_ptr<const TextStore>> originStores_;
    PendingOrigin pendingOrigin_;

    // Each row's key into the table it was read from; empty until a row with
    // a key arrives, 0 for none.
    std::deque<std::uint64_t> sourceKeys_;
    std::uint64_t pendingSourceKey_ = 0;

    // Each row's note as a number into the few distinct notes a list holds;
    // empty until a row with a note arrives, 0 for none.
    std::deque<std::uint16_t> notes_;
    QStringList noteTexts_{QString()};
    QHash<QString, std::uint16_t> noteIds_;
    std::uint16_t lastNoteId_ = 0;
    QString pendingNote_;

    mutable QString cachedText_;
    mutable TextStore::Handle cachedHandle_ = 0;
    mutable const TextStore* cachedStore_ = nullptr;
};

} // namespace tallyvane
