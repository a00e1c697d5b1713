#pragma once

#include "platform/prompts.h"

class QWidget;

namespace tallyvane {

// The dialog that asks which column of a list to take: the file's name; each
// column by its name (or "Column 1", ...) with its first values, then "Whole
// lines"; the likeliest column chosen already; below, the first rows as a
// table. Enter takes the chosen column and any ticked ones (question.columns
// lists them when there are several); Escape takes nothing. A box says
// whether the first row names the columns. The dialog fits its content,
// within the screen.
int chooseColumnInDialog(QWidget* parent, ColumnQuestion& question);

} // namespace tallyvane
