#pragma once

namespace tallyvane {

class ListView;
class Prompts;

// "Load Sample/Example Data": eight entries, one of each form the conversion
// understands. The name is the window's own and appears in error reports.
void PushButton7_Click(Prompts& prompts, ListView& entries);

} // namespace tallyvane
