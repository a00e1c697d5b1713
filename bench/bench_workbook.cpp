#include "bench_workbook.h"

#include "bench_util.h"
#include "entries/column_lists.h"
#include "entries/list_file.h"
#include "lists/list_model.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace tallyvane::bench {

namespace {

// Name, Phone (a number stored as text or as a number, as exports hold them)
// and City.
void writeTables(const QString& csvPath, const QString& xlsxPath, int rows) {
    QByteArray csv("Name,Phone,City\n");
    lxw_workbook* book = workbook_new(QFile::encodeName(xlsxPath).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Contacts");
    worksheet_write_string(sheet, 0, 0, "Name", nullptr);
    worksheet_write_string(sheet, 0, 1, "Phone", nullptr);
    worksheet_write_string(sheet, 0, 2, "City", nullptr);
    for (int row = 1; row <= rows; ++row) {
        const std::string name = "Contact " + std::to_string(row);
        const long long digits = 2015550000LL + row % 8000000;
        const std::string phone = std::to_string(digits);
        const auto at = static_cast<lxw_row_t>(row);
        worksheet_write_string(sheet, at, 0, name.c_str(), nullptr);
        if (row % 2 == 0)
            worksheet_write_number(sheet, at, 1, double(digits), nullptr);
        else
            worksheet_write_string(sheet, at, 1, phone.c_str(), nullptr);
        worksheet_write_string(sheet, at, 2, "Concord", nullptr);
        csv += QByteArray::fromStdString(name);
        csv += ',';
        csv += QByteArray::fromStdString(phone);
        csv += ",Concord\n";
    }
    if (workbook_close(book) != LXW_NO_ERROR)
        throw std::runtime_error("cannot write the workbook");
    QFile file(csvPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size())
        throw std::runtime_error("cannot write the CSV file");
}

double windowLoad(const QString& path, int rows) {
    testing::FakePrompts prompts;
    refuseMessages(prompts);
    prompts.columnAnswers = {1};
    ListModel list;
    RememberedColumns remembered;
    const ColumnReading reading(Direction::AreaCodesToStates, remembered);
    QElapsedTimer timer;
    timer.start();
    LoadListFromFile(prompts, list, path, MissingFile::Named, &reading);
    list.announcePendingRows();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (list.count() != rows)
        throw std::runtime_error("the window read another number of rows");
    return seconds;
}

double batchColumn(const QString& path) {
    const QString program = QCoreApplication::applicationDirPath() + "/../bin/tallyvane-convert";
    QProcess convert;
    convert.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    convert.start(program, {QStringLiteral("--column"), QStringLiteral("Phone"), path});
    if (!convert.waitForFinished(-1) || convert.exitCode() != 0)
        throw std::runtime_error("tallyvane-convert failed");
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

void benchWorkbook(int rows) {
    static int argc = 1;
    static char name[] = "tallyvane_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("contacts.csv"));
    const QString xlsx = dir.filePath(QStringLiteral("contacts.xlsx"));
    writeTables(csv, xlsx, rows);
    std::printf("workbook: %d rows; CSV %.1f MB, .xlsx %.1f MB\n", rows,
                double(QFile(csv).size()) / 1e6, double(QFile(xlsx).size()) / 1e6);
    std::printf("  window, phone column:          CSV %.3f s   .xlsx %.3f s\n",
                windowLoad(csv, rows), windowLoad(xlsx, rows));
    std::printf("  tallyvane-convert --column:   CSV %.3f s   .xlsx %.3f s\n", batchColumn(csv),
                batchColumn(xlsx));
    std::fflush(stdout);
}

} // namespace tallyvane::bench
