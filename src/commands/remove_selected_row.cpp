#include "commands/remove_selected_row.h"

#include "lists/list_view.h"
#include "platform/failure.h"
#include "platform/window_services.h"

namespace tallyvane {

void removeSelectedRow(const WindowServices& window, ListView& list) {
    try {
        if (window.isBusy() || list.count() == 0)
            return;
        // With nothing selected there is no position to remove.
        const int position = list.selectedPosition();
        if (position > 0)
            list.remove(position);
    } catch (const Failure&) {
    }
}

} // namespace tallyvane
