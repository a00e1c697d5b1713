#include "entries/workbook_list.h"

#include "entries/column_lists.h"
#include "entries/entry_paste.h"
#include "entries/workbook_file.h"
#include "platform/failure.h"
#include "platform/prompts.h"

#include <QFile>

#include <map>

namespace tallyvane {

std::size_t appendColumnFromWorkbook(Prompts& prompts, ListView& list, const QString& path,
                                     FileKind kind, Direction direction,
                                     const std::function<void(Direction)>& useDirection) {
    const WorkbookFile workbook(QFile::encodeName(path).toStdString(), kind);
    if (workbook.sheetNames().empty())
        throw Failure(QStringLiteral("The workbook has no sheets"));
    // A sheet is made into text once, when it is first shown or read.
    std::map<int, QByteArray> sheets;
    const auto sheetText = [&](int sheet) -> const QByteArray& {
        auto found = sheets.find(sheet);
        if (found == sheets.end())
            found = sheets
                        .emplace(sheet,
                                 QByteArray::fromStdString(workbook.sheetCsv(std::size_t(sheet))))
                        .first;
        return found->second;
    };
    ColumnQuestion question = sheetLayout(sheetText(0), direction).question;
    for (const std::string& name : workbook.sheetNames())
        question.sheets << QString::fromStdString(name);
    question.showSheet = [&](ColumnQuestion& shown) {
        const ColumnQuestion layout = sheetLayout(sheetText(shown.sheet), direction).question;
        shown.firstRows = layout.firstRows;
        shown.header = layout.header;
        shown.likeliest = layout.likeliest;
        shown.otherDirection = layout.otherDirection;
    };
    const int column = prompts.chooseColumn(question);
    if (column == ColumnQuestion::kCancelled)
        return 0;
    takeOfferedDirection(question, direction, useDirection);
    if (column == ColumnQuestion::kWholeLines) { // each row as its line of CSV text
        appendPastedLines(list, QString::fromUtf8(sheetText(question.sheet)));
        return 0;
    }
    return appendColumn(list, sheetText(question.sheet), ',', column, question.header);
}

} // namespace tallyvane
