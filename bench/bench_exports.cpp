#include "bench_exports.h"

#include "app/qt/form1.h"
#include "app/qt/summary_view.h"
#include "bench_util.h"
#include "lists/list_model.h"
#include "platform/file_dialog.h"
#include "platform/qt/qt_window_services.h"
#include "platform/xlsx/xlsx_spreadsheet.h"
#include "results/clipboard_copy.h"
#include "results/entries_and_results.h"
#include "results/spreadsheet_export.h"
#include "results/text_export.h"
#include "support/fakes.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <stdexcept>

namespace tallyvane::bench {

namespace {

// Rows as conversion runs leave them: single states, misses, long code lists.
constexpr std::array<const char*, 6> kRows{
    "NH", "Not Found", "201 551 609 732 848 856 862 908 973", "TX", "212 332 646 718 917", "CA"};

void expectNoReports(const testing::FakePrompts& prompts, const char* what) {
    for (const testing::ShownMessage& report : prompts.errorReports())
        throw std::runtime_error(std::string(what) + " reported: " + report.text.toStdString());
}

// Times one command; the window's pump statistics show how long the window
// went without handling its events.
template <class Command>
double timed(QtWindowServices& window, testing::FakePrompts& prompts, Command&& command) {
    prompts.shown.clear();
    window.resetPumpStatistics();
    QElapsedTimer timer;
    timer.start();
    command();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double gapMs(const QtWindowServices& window) {
    return static_cast<double>(window.longestGapNs()) / 1e6;
}

} // namespace

void benchExports(int rows) {
    QTemporaryDir dir;
    if (!dir.isValid())
        throw std::runtime_error("no temporary folder");
    const QString textPath = dir.filePath(QStringLiteral("results.txt"));
    testing::FakePrompts prompts;
    testing::FakeSettingsStore settings;
    testing::FakeFileDialog dialog;
    dialog.saveAnswers = {textPath};
    testing::RecordingLauncher launcher;
    XlsxSpreadsheetAutomation spreadsheet(launcher);
    Form1Overrides overrides;
    overrides.prompts = &prompts;
    overrides.settings = &settings;
    overrides.dialog = &dialog;
    overrides.spreadsheet = &spreadsheet;
    overrides.programFolder = programFolderFor(defaultDatabasePath());
    overrides.unload = [] {};
    Form1 form(overrides);
    form.show();
    ListModel& results = form.resultModel();
    for (int i = 0; i < rows; ++i)
        results.append(QString::fromLatin1(kRows[std::size_t(i) % kRows.size()]));
    results.announcePendingRows();
    QCoreApplication::processEvents();
    Form1Services& s = form.services();
    QtWindowServices& window = form.windowServices();

    const double textMs = timed(window, prompts, [&] {
        PushButton4_Click(s.prompts, s.dialog, s.window, s.results, s.progress);
    });
    expectNoReports(prompts, "the text export");
    const qint64 textBytes = QFileInfo(textPath).size();
    if (textBytes < qint64(rows) * 4)
        throw std::runtime_error("the text file is too short");
    std::printf("text export: %d rows %.0f ms (%.1f MB file, longest pump gap %.1f ms)\n", rows,
                textMs, double(textBytes) / 1e6, gapMs(window));
    std::fflush(stdout);

    const double copyMs = timed(
        window, prompts, [&] { PushButton5_Click(s.prompts, s.window, s.clipboard, s.results); });
    expectNoReports(prompts, "the clipboard copy");
    const qsizetype copied = QGuiApplication::clipboard()->text().size();
    if (copied < qsizetype(rows) * 4)
        throw std::runtime_error("the clipboard text is too short");
    QGuiApplication::clipboard()->clear();
    std::printf("clipboard copy: %d rows %.0f ms (%.1f M characters, longest pump gap %.1f ms)\n",
                rows, copyMs, double(copied) / 1e6, gapMs(window));
    std::fflush(stdout);

    const double bookMs = timed(window, prompts, [&] {
        PushButton13_Click(s.prompts, s.window, s.spreadsheet, s.results);
    });
    expectNoReports(prompts, "the workbook export");
    const qint64 bookBytes = QFileInfo(launcher.opened.value(0)).size();
    QFileInfo(launcher.opened.value(0)).absoluteDir().removeRecursively();
    if (bookBytes == 0)
        throw std::runtime_error("no workbook was written");
    std::printf("workbook export: %d rows %.0f ms (%.1f MB xlsx, longest pump gap %.1f ms)\n", rows,
                bookMs, double(bookBytes) / 1e6, gapMs(window));
    std::printf("peak memory after the workbook: %.0f MB\n", peakMemoryMb());
    std::fflush(stdout);

    // The results beside their entries: the rows of a real run, each with
    // its entry and, where it found nothing, its reason.
    static constexpr std::array<const char*, 6> kEntries{
        "603-237-4934", "+44 20 7946 0958", "1-800-555-1212", "NH", "(212) 555-0199", "867-5309"};
    for (int i = 0; i < rows; ++i)
        form.entryModel().append(QString::fromLatin1(kEntries[std::size_t(i) % kEntries.size()]));
    form.conversionRun().PushButton17_Click();
    const double pairsMs = timed(window, prompts, [&] {
        CopyEntriesAndResults(s.prompts, s.window, s.clipboard, s.results);
    });
    expectNoReports(prompts, "copying the entries and results");
    const qsizetype pairs = QGuiApplication::clipboard()->text().size();
    QGuiApplication::clipboard()->clear();
    std::printf("entries and results, copied: %d rows %.0f ms (%.1f M characters, longest pump "
                "gap %.1f ms)\n",
                rows, pairsMs, double(pairs) / 1e6, gapMs(window));
    const QString csvPath = dir.filePath(QStringLiteral("pairs.csv"));
    dialog.saveAnswers = {csvPath};
    const double csvMs = timed(window, prompts, [&] {
        SaveEntriesAndResultsAsCsv(s.prompts, s.dialog, s.window, s.results);
    });
    expectNoReports(prompts, "saving the entries and results");
    std::printf("entries and results, saved as CSV: %d rows %.0f ms (%.1f MB, longest pump gap "
                "%.1f ms)\n",
                rows, csvMs, double(QFileInfo(csvPath).size()) / 1e6, gapMs(window));
    std::fflush(stdout);

    // The Summary of those rows, counted a slice at a time between events:
    // the whole time and the longest the window went without its events.
    QElapsedTimer summaryTimer;
    summaryTimer.start();
    form.findChild<QAction*>(QStringLiteral("ShowSummary"))->trigger();
    auto* view = form.findChild<SummaryView*>(QStringLiteral("SummaryView"));
    qint64 longestGapNs = 0;
    QElapsedTimer gap;
    gap.start();
    while (!view->upToDate()) {
        QCoreApplication::processEvents();
        longestGapNs = std::max(longestGapNs, gap.nsecsElapsed());
        gap.restart();
    }
    const double summaryMs = double(summaryTimer.nsecsElapsed()) / 1e6;
    if (view->summary().entries != std::uint64_t(rows))
        throw std::runtime_error("the summary counted the wrong number of rows");
    std::printf("summary opened: %d rows %.0f ms (longest gap between events "
                "%.1f ms)\n",
                rows, summaryMs, double(longestGapNs) / 1e6);
    std::fflush(stdout);
}

} // namespace tallyvane::bench
