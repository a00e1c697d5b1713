#pragma once

namespace tallyvane {

class ListView;
class MainWindowSurface;
class Prompts;
class WindowServices;

// The handler names are the window's own and appear in error reports.

// "Add State or Area Code": the typed text joins the end of the list as typed.
void PushButton6_Click(Prompts& prompts, const MainWindowSurface& surface, ListView& entries);
// "Clear List", refused while the busy pointer shows.
void PushButton1_Click(Prompts& prompts, const WindowServices& window, ListView& entries);
void ListView1_DblClick(const WindowServices& window, ListView& entries);
void ListView1_KeyDown(const WindowServices& window, ListView& entries, int keyCode);

} // namespace tallyvane
