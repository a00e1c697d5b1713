#pragma once

namespace tallyvane {

class ListView;
class Prompts;
class WindowServices;

// The handler names are the window's own and appear in error reports.

// Removing a results row is refused while the busy pointer shows.
void ListView2_DblClick(const WindowServices& window, ListView& results);
// Only the key code matters; Shift, Ctrl and Alt are ignored.
void ListView2_KeyDown(const WindowServices& window, ListView& results, int keyCode, int shift);
// "Clear Results", also during a run or an export.
void PushButton2_Click(Prompts& prompts, ListView& results);

} // namespace tallyvane
