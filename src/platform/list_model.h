#pragma once

#include "platform/list_model_texts.h"
#include "platform/list_view.h"

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace tallyvane {

// The rows of a list view, held compactly so that ten million rows fit in a
// few hundred megabytes: each row is an 8-byte handle into a shared text store
// (see TextStore), kept in a deque so that growing never copies the rows or
// holds twice their room. Appended rows are announced to the attached views in
// batches, because each announcement makes a view lay out all its rows again:
// at most about 60 times a second, less often as that relayout grows dearer,
// and at once when the event loop falls idle, so a command that has ended
// leaves every row shown.
class ListModel : public QAbstractTableModel, public ListView {
    Q_OBJECT
public:
    explicit ListModel(QObject* parent = nullptr);

    // ListView
    int count() const override { return static_cast<int>(texts_.size()); }
    QString text(int position) const override;
    QString columnText(int position, int column) const override;
    bool checked(int position) const override;
    void append(const QString& text) override;
    void setNextRowOrigin(const ListView& source, int sourcePosition) override;
    void remove(int position) override;
    void clear() override;
    int selectedPosition() const override;
    int columnCount() const override { return static_cast<int>(headings_.size()); }
    QString heading(int column) const override;
    void addColumn(const QString& heading) override;
    void setFirstColumnWidthTwips(int twips) override;

    // A row with sub-items and a check state, for lists other than the results.
    void appendRow(const QStringList& cells, bool checked = true);
    int firstColumnWidthPixels() const { return firstColumnWidthPixels_; }
    QItemSelectionModel* selectionModel() { return &selection_; }
    // Announces every pending row now (views, tests and the end of a command).
    void announcePendingRows();
    // "Entry 3: NEW HAMPSHIRE" for a row that came from another list's row,
    // empty for any other row.
    QString originText(int position) const;

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    void firstColumnWidthChanged(int pixels);

private:
    struct Origin {
        std::shared_ptr<const TextStore> store;
        TextStore::Handle text = 0;
        int position = 0;
    };

    int checkedIndex(int position) const;
    TextStore& store();
    void pushRow(const QString& text, bool checked, const QStringList* cells);
    TextStore::Handle originHandle(const Origin& origin);
    void scheduleAnnouncement();
    void announceWhenIdle();

    std::shared_ptr<TextStore> store_; // made on the first append after a clear
    std::deque<TextStore::Handle> texts_;
    std::vector<bool> checked_;
    std::vector<QStringList> subItems_; // empty until a row with sub-items arrives

    // Where each row came from; empty until a row with an origin arrives. The
    // text handle's tag names the store in originStores_ (0: this list's own).
    std::deque<TextStore::Handle> originTexts_;
    std::deque<std::uint32_t> originPositions_; // 0: no origin
    std::vector<std::shared_ptr<const TextStore>> originStores_;
    Origin pendingOrigin_;

    mutable QString cachedText_;
    mutable TextStore::Handle cachedHandle_ = 0;
    mutable const TextStore* cachedStore_ = nullptr;

    QStringList headings_;
    int announced_ = 0;
    int firstColumnWidthPixels_ = 0;
    QTimer announceTimer_;
    QItemSelectionModel selection_;
};

} // namespace tallyvane
