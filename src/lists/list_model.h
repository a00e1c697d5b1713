#pragma once

#include "lists/column_provider.h"
#include "lists/list_view.h"
#include "lists/row_table.h"

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QTimer>

#include <functional>
#include <utility>
#include <vector>

namespace tallyvane {

// A list of the window: its rows (a RowTable) as a Qt model for the views
// that show them. Appended rows are announced to the views in batches,
// because each announcement makes a view lay out all its rows again: at most
// about 60 times a second, less often as that relayout grows dearer, and at
// once when the event loop falls idle, so a command that has ended leaves
// every row shown.
class ListModel : public QAbstractTableModel, public ListView {
    Q_OBJECT
public:
    explicit ListModel(QObject* parent = nullptr);

    // ListView. count() is every row the list holds, which the commands
    // work with; rowCount() is the rows announced to the views so far, which
    // may trail it while a command appends (see above).
    int count() const override { return static_cast<int>(rows_.size()); }
    QString text(int position) const override;
    QString columnText(int position, int column) const override;
    bool checked(int position) const override;
    SharedText sharedText(int position) const override;
    void append(const QString& text) override;
    void setNextRowOrigin(const ListView& source, int sourcePosition) override;
    void setNextRowNote(const QString& note) override;
    std::uint64_t sourceKey(int position) const override;
    void setNextRowSourceKey(std::uint64_t key) override;
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
    // with " — " and its note where it has one; empty for any other row.
    QString originText(int position) const;
    QString originEntry(int position) const override;
    QString note(int position) const override;

    // Columns a view shows after the list's own (see ColumnProvider): each
    // provider's in the order they were shown. Showing one that is shown, or
    // hiding one that is not, changes nothing.
    void showColumns(ColumnProvider* provider);
    void hideColumns(ColumnProvider* provider);
    const std::vector<ColumnProvider*>& shownProviders() const { return shown_; }
    // The shown columns' texts changed (the clock moved on).
    void refreshShownColumns();

    // QAbstractItemModel. rowCount() may be less than count() until the
    // pending rows are announced.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    void firstColumnWidthChanged(int pixels);

private:
    std::size_t checkedIndex(int position) const;
    void appendChecked(QStringView text, bool checked, const QStringList* subItems);
    void scheduleAnnouncement();
    void announceWhenIdle();

    RowTable rows_;
    QStringList headings_;
    // The provider of a shown column (from 0 past the list's own), and its
    // column within the provider.
    std::pair<ColumnProvider*, int> shownColumn(int column) const;
    int shownCount() const { return static_cast<int>(shownHeadings_.size()); }

    std::vector<ColumnProvider*> shown_;
    QStringList shownHeadings_; // every shown provider's, in order
    int announced_ = 0;
    int firstColumnWidthPixels_ = 0;
    QTimer announceTimer_;
    QItemSelectionModel selection_;
};

} // namespace tallyvane
