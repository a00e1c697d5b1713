#pragma once

namespace tallyvane {

class FileDialog;
class Prompts;
class StateMap;
class WindowServices;

// "Save Map As Image…": the map as it is shown, at the screen's own scale, as
// a PNG image, or as an SVG drawing when the name ends in .svg. Written to a
// file beside the target that replaces it only when complete; "Done." once it
// has.
void SaveMapAsImage(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                    const StateMap& map);

} // namespace tallyvane
