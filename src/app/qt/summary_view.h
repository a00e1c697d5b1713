#pragma once

#include "conversion/direction.h"
#include "results/results_summary.h"

#include <QDialog>
#include <QTimer>

#include <functional>
#include <optional>

class QAbstractItemModel;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace tallyvane {

class StateMap;
struct Form1Services;

// The results at a glance, kept open beside the lists: a sortable table of
// the counts by result, reason and state, and a tile map of the states.
// Any change of the results list (a run, a removal, Clear Results) counts
// them again, a slice at a time so that the window keeps responding.
class SummaryView : public QDialog {
    Q_OBJECT
public:
    SummaryView(QWidget* parent, Form1Services& services, QAbstractItemModel& resultsModel,
                std::function<Direction()> direction);

    const ResultsSummary& summary() const { return summary_; }
    // Whether the shown summary counts the results list as it is now.
    bool upToDate() const { return !counting_ && !recount_.isActive(); }

Q_SIGNALS:
    void summaryShown();

private:
    void scheduleRecount();
    void startCount();
    void countSlice();
    void present(ResultsSummary summary);
    void fitColumns();
    void resizeEvent(QResizeEvent* event) override;
    QPushButton* button(const QString& text, const QString& name);

    Form1Services& s_;
    std::function<Direction()> direction_;
    ResultsSummary summary_;
    std::optional<SummaryTally> tally_;
    int next_ = 0; // the next results row to count, from 1
    bool counting_ = false;
    QTimer recount_;
    QTimer slice_;
    QLabel* status_;
    QStandardItemModel* table_;
    QSortFilterProxyModel* sorted_;
    QTableView* view_;
    StateMap* map_;
    QLabel* tile_;
};

} // namespace tallyvane
