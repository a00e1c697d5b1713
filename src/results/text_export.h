#pragma once

namespace tallyvane {

class FileDialog;
class ListView;
class ProgressBar;
class Prompts;
class WindowServices;

// "Save Results As Text File". The handler name is the window's own and
// appears in error reports.
void PushButton4_Click(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                       const ListView& results, ProgressBar& progress);

} // namespace tallyvane
