#pragma once

#include <QObject>

class QAction;
class QTreeView;
class QWidget;

namespace tallyvane {

struct Form1Services;

// The results list's own menu, beyond the designed buttons: the results
// beside their entries, copied as a table or saved as CSV. It opens with a
// right-click, the Menu key or Shift+F10 on the list; its shortcuts work
// anywhere in the window.
class Form1ResultsMenu : public QObject {
public:
    Form1ResultsMenu(QWidget* window, QTreeView* results, Form1Services& services);

    QAction* copyAction() const { return copy_; }
    QAction* saveAction() const { return save_; }

private:
    void popUp(const QPoint& where);

    QTreeView* results_;
    QAction* copy_;
    QAction* save_;
};

} // namespace tallyvane
