#include "app/qt/direction_hint_line.h"

#include "entries/direction_hint.h"

#include <QBoxLayout>

namespace tallyvane {

DirectionHintLine::DirectionHintLine(QWidget* resultsList, const ListView& entries,
                                     const ListView& results)
    : QLabel(resultsList->parentWidget()), entries_(entries), results_(results) {
    setObjectName(QStringLiteral("DirectionHint"));
    setWordWrap(true);
    hide();
    // Just below the results list, in the window's column of controls.
    if (auto* column = qobject_cast<QBoxLayout*>(resultsList->parentWidget()->layout()))
        column->insertWidget(column->indexOf(resultsList) + 1, this);
}

void DirectionHintLine::afterRun(Direction ran) {
    const QString hint = directionHint(entries_, results_, ran);
    setText(hint);
    setVisible(!hint.isEmpty());
}

} // namespace tallyvane
