#pragma once

namespace tallyvane {

class WindowServices;
class ListView;

// Key code of the Delete key, as the lists' key handlers receive it.
constexpr int kDeleteKeyCode = 46;

// Removes the selected row of a list unless the busy pointer shows. These
// removals carry no error report: a list that still refuses keeps its row,
// which loses nothing and leaves the window usable.
void removeSelectedRow(const WindowServices& window, ListView& list);

} // namespace tallyvane
