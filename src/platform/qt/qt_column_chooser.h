#pragma once

#include "platform/prompts.h"

class QWidget;

namespace tallyvane {

// The small dialog that asks which column of a list to take: each column by
// its name (or "Column 1", ...) with its first three values, then "Whole
// lines"; the likeliest column chosen already. Enter takes the chosen one,
// Escape takes nothing. A box says whether the first row names the columns.
int chooseColumnInDialog(QWidget* parent, ColumnQuestion& question);

} // namespace tallyvane
