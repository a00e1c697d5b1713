#include "results/vanished_rows.h"

#include "commands/procedure.h"
#include "lists/list_view.h"

namespace tallyvane {

bool rowStillThere(Procedure& p, int line, const ListView& list, int row, int lastRow) {
    const int count = p.value(line, row, [&] { return list.count(); });
    if (row <= count)
        return true;
    p.step(line, [&] { throwRowsGone(row, lastRow); });
    return false;
}

void throwRowsGone(int firstGone, int lastRow) {
    throw Failure(QStringLiteral("The list changed while it was read: rows %1 to %2 are gone")
                      .arg(firstGone)
                      .arg(lastRow));
}

} // namespace tallyvane
