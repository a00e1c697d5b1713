#include "entries/workbook_list.h"

#include "entries/column_lists.h"
#include "entries/entry_paste.h"
#include "platform/failure.h"
#include "platform/prompts.h"
#include "reading/table_names.h"
#include "reading/workbook_file.h"

#include <QFile>
#include <QFileInfo>

#include <map>

namespace tallyvane {

namespace {
constexpr auto kSheetStart = qsizetype(kLayoutSampleBytes);
}

std::size_t appendColumnFromWorkbook(Prompts& prompts, ListView& list, const QString& path,
                                     FileKind kind, Direction direction,
                                     const std::function<void(Direction)>& useDirection,
                                     const std::function<void()>& keepResponsive, KeptTable* kept) {
    const WorkbookFile workbook(QFile::encodeName(path).toStdString(), kind);
    if (workbook.sheetNames().empty())
        throw Failure(QStringLiteral("The workbook has no sheets"));
    // The dialog shows a sheet's first rows, read as far as they go and no
    // further; the whole sheet is read once a column is chosen.
    std::map<int, QByteArray> starts;
    const auto sheetStart = [&](int sheet) -> const QByteArray& {
        auto found = starts.find(sheet);
        if (found == starts.end()) {
            QByteArray start;
            workbook.readSheet(std::size_t(sheet), [&start](std::string_view csv) {
                start.append(csv.data(), qsizetype(csv.size()));
                return start.size() < kSheetStart;
            });
            found = starts.emplace(sheet, start).first;
        }
        return found->second;
    };
    const auto sheetPieces = [&](int sheet) {
        return [&workbook, &keepResponsive,
                sheet](const std::function<void(std::string_view)>& piece) {
            workbook.readSheet(std::size_t(sheet), [&](std::string_view csv) {
                piece(csv);
                if (keepResponsive)
                    keepResponsive();
                return true;
            });
        };
    };
    ColumnQuestion question = sheetLayout(sheetStart(0), direction).question;
    question.source = QFileInfo(path).fileName();
    for (const std::string& name : workbook.sheetNames())
        question.sheets << QString::fromStdString(name);
    question.showSheet = [&](ColumnQuestion& shown) {
        const ColumnQuestion layout = sheetLayout(sheetStart(shown.sheet), direction).question;
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
        QByteArray whole;
        sheetPieces(question.sheet)(
            [&whole](std::string_view csv) { whole.append(csv.data(), qsizetype(csv.size())); });
        appendPastedLines(list, QString::fromUtf8(whole));
        return 0;
    }
    const std::size_t counted = workbook.formulasWithoutResult();
    const std::size_t malformed = readKeepingTable(
        kept, question.source, question, column,
        [&](SourceTable* table) {
            return appendColumnFromPieces(list, sheetPieces(question.sheet), ',', column,
                                          question.header, table);
        },
        true);
    if (const std::size_t formulas = workbook.formulasWithoutResult() - counted; formulas > 0)
        prompts.messageBox(QString::fromStdString(formulasWithoutResultText(formulas)));
    return malformed;
}

std::size_t appendColumnFromTable(Prompts& prompts, ListView& list, const QByteArray& csv,
                                  Direction direction,
                                  const std::function<void(Direction)>& useDirection,
                                  const QString& name, KeptTable* kept) {
    ColumnQuestion question = sheetLayout(csv, direction).question;
    question.source = name;
    const int column = prompts.chooseColumn(question);
    if (column == ColumnQuestion::kCancelled)
        return 0;
    takeOfferedDirection(question, direction, useDirection);
    if (column == ColumnQuestion::kWholeLines) {
        appendPastedLines(list, QString::fromUtf8(csv));
        return 0;
    }
    return readKeepingTable(kept, name, question, column, [&](SourceTable* table) {
        return appendColumn(list, csv, ',', column, question.header, table);
    });
}

} // namespace tallyvane
