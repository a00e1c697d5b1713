#pragma once

class QTableView;
class QWidget;

namespace tallyvane {

class ListModel;

// Where a list looks when rows arrive at its end.
enum class ListFollows {
    EveryNewRow,       // an entry just added is always shown, however long the list
    RowsWhileAtTheEnd, // a filling list is followed, unless the person scrolled up to read
};

// One of the window's two lists: a report-style view of the model with one
// selected row at a time, no editing, the designed tooltip, and room for at
// least a few rows however small the window.
QTableView* createListView(QWidget* parent, const char* name, ListModel& model,
                           ListFollows follows);

// Keeps the heading and this many rows in view however small the window.
void keepFewestRowsInView(QTableView* view, int rows);

} // namespace tallyvane
