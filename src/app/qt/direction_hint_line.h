#pragma once

#include "conversion/direction.h"

#include <QLabel>

namespace tallyvane {

class ListView;

// A line under the results list that says, after a run in which every entry
// gave "Not Found", when the entries look like the other direction's. Hidden
// otherwise, so that the designed window is unchanged.
class DirectionHintLine : public QLabel {
public:
    DirectionHintLine(QWidget* resultsList, const ListView& entries, const ListView& results);
    void afterRun(Direction ran);

private:
    const ListView& entries_;
    const ListView& results_;
};

} // namespace tallyvane
