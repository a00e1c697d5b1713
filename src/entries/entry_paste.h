#pragma once

#include "conversion/direction.h"

#include <QString>
#include <QStringView>

#include <functional>

namespace tallyvane {

class ListView;
class Prompts;

// Appends each line of pasted text to the list as it stands, as Add keeps a
// typed text: not trimmed and not upper-cased. CR LF, LF and a lone CR all end
// a line, and a final line end adds no empty entry.
void appendPastedLines(ListView& list, QStringView text);

// Ctrl+V or Shift+Insert, or plain text dropped on the window: the text joins
// the end of the entry list in one step, with no message. Like Add it works
// while the busy pointer shows; a conversion run already going does not reach
// the new entries. Cells copied from a spreadsheet, or lines that split alike
// into fields, are read by the column the person chooses (or as whole lines);
// the column that looks most like what the direction converts is offered first.
// The clipboard is read by `read` inside the command, so that a failure to
// read it, or to hold what it gives, is reported like any other.
// useDirection sets the window's direction for this run when the person takes
// the column dialog's offer of the other one.
void ListView1_Paste(Prompts& prompts, ListView& entries, const std::function<QString()>& read,
                     Direction direction, const std::function<void(Direction)>& useDirection = {});
void ListView1_Paste(Prompts& prompts, ListView& entries, const QString& text,
                     Direction direction = Direction::AreaCodesToStates,
                     const std::function<void(Direction)>& useDirection = {});

} // namespace tallyvane
