#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace tallyvane {

// A list held in columns, put to the person: its first rows as read, whether
// the first of them seems to name the columns (the person may say otherwise),
// and the column that looks most like what the conversion reads.
struct ColumnQuestion {
    QList<QStringList> firstRows;
    bool header = false;
    int likeliest = 0;
    // What chooseColumn answers besides a column's index from 0.
    static constexpr int kWholeLines = -1;
    static constexpr int kCancelled = -2;
    // A workbook's sheets, when the list is one. chooseColumn may show
    // another: it sets `sheet` and calls showSheet, which sets the rows,
    // header and likeliest column above to that sheet's.
    QStringList sheets;
    int sheet = 0;
    std::function<void(ColumnQuestion&)> showSheet;
    // When the likeliest column looks like the other direction's entries
    // (phone numbers while states are to be converted, or the reverse), the
    // offer of that direction in words; empty otherwise. The dialog says in
    // useOtherDirection whether the person took it.
    QString otherDirection;
    bool useOtherDirection = false;
    // The file the list comes from, named in the dialog; empty for a paste.
    QString source;
    // Every column the person took, in the table's order, when more than
    // the one chooseColumn answers (each row then gives an entry for each).
    QList<int> columns;
};

// Message box styles and answers as the commands name them.
namespace MessageStyle {
constexpr int Ok = 0;
constexpr int YesNo = 4;
constexpr int Warning = 48;
} // namespace MessageStyle

namespace MessageAnswer {
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MessageAnswer

// Modal message boxes and the one-line input prompt.
class Prompts {
public:
    virtual ~Prompts() = default;
    // An empty title shows the application title. Returns the button pressed.
    virtual int messageBox(const QString& text, int style = MessageStyle::Ok,
                           const QString& title = {}) = 0;
    // Returns the typed text; the empty text on Cancel.
    virtual QString inputPrompt(const QString& message, const QString& title,
                                const QString& defaultText) = 0;
    // Which column of a list to take: its index, or kWholeLines, or
    // kCancelled. Sets question.header to what the person settled on.
    virtual int chooseColumn(ColumnQuestion& question) = 0;
};

} // namespace tallyvane
