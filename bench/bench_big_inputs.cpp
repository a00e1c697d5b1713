#include "bench_big_inputs.h"

#include "app/qt/form1.h"
#include "bench_entries.h"
#include "bench_isolation.h"
#include "bench_util.h"
#include "conversion/conversion_run.h"
#include "entries/file_loading.h"
#include "lists/list_model.h"
#include "platform/direction_options.h"
#include "platform/qt/qt_window_services.h"
#include "support/fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace tallyvane::bench {

namespace {

constexpr int kSettleLimitMs = 120'000;

double seconds(qint64 ns) {
    return static_cast<double>(ns) / 1e9;
}

// Runs the event loop until both lists show every row and the loop is idle;
// the longest stretch of work between two moments when it was ready to wait.
double settleSeconds(Form1& form) {
    const auto allShown = [&form] {
        return form.entryModel().rowCount() == form.entryModel().count() &&
               form.resultModel().rowCount() == form.resultModel().count();
    };
    return seconds(longestWorkUntil(allShown, 50, kSettleLimitMs));
}

struct Window {
    testing::FakePrompts prompts;
    testing::FakeSettingsStore settings;
    Form1Overrides overrides;
    std::unique_ptr<Form1> form;

    explicit Window(bool shown) {
        overrides.prompts = &prompts;
        overrides.settings = &settings;
        overrides.programFolder = programFolderFor(defaultDatabasePath());
        overrides.unload = [] {};
        form = std::make_unique<Form1>(overrides);
        if (shown)
            form->show();
        settleSeconds(*form);
    }

    // Seconds the load took, as one pause: a load processes no events.
    double load(const QString& path) {
        QElapsedTimer timer;
        timer.start();
        LoadListFromFile(prompts, form->services().entries, path);
        return seconds(timer.nsecsElapsed());
    }

    // The longest pause during the run and while it settles afterwards.
    double convert(bool areaCodes) {
        DirectionOptions& options = form->services().options;
        options.setOption1(areaCodes);
        options.setOption2(!areaCodes);
        QtWindowServices& window = form->windowServices();
        window.resetPumpStatistics();
        form->conversionRun().PushButton17_Click();
        window.processEvents();
        const double run = seconds(std::max(window.longestGapNs(), window.longestPumpNs()));
        return std::max(run, settleSeconds(*form));
    }
};

void writeFile(const QString& path, const std::function<void(QFile&)>& fill) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString());
    fill(file);
    if (!file.flush())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void printFigures(const char* title, const Figures& f) {
    std::printf("%s\n", title);
    for (const auto& [key, value] : f)
        std::printf("  %-28s %.3f\n", key.c_str(), value);
    std::fflush(stdout);
}

} // namespace

void benchHugeLine(int megabytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("one-line.txt"));
    const qsizetype size = qsizetype(megabytes) << 20;
    // A phone number repeated without a line end: digits and punctuation.
    writeFile(path, [size](QFile& file) {
        const QByteArray piece = QByteArrayLiteral("1-603-555-0142, ").repeated(65536);
        for (qsizetype done = 0; done < size; done += piece.size())
            file.write(piece.left(std::min(piece.size(), size - done)));
    });
    const Figures f = runIsolated([&](Figures& out) {
        Window w(true);
        out["load_s"] = w.load(path);
        out["after_load_pause_s"] = settleSeconds(*w.form);
        out["codes_run_longest_pause_s"] = w.convert(true);
        out["states_run_longest_pause_s"] = w.convert(false);
        out["row_keeps_whole_line"] = w.form->entryModel().text(1).size() == size ? 1 : 0;
        out["messages"] = static_cast<double>(w.prompts.shown.size());
        out["peak_mb"] = peakMemoryMb();
    });
    printFigures(qPrintable(QStringLiteral("one line of %1 MB (crash: failed 1)").arg(megabytes)),
                 f);
}

void benchMemory(int entries) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("entries.txt"));
    const std::vector<AreaCodeRow> table = readAreaCodeTable(defaultDatabasePath());
    // Written in batches, so that this process holds little when the
    // measuring child is forked from it.
    qint64 fileBytes = 0;
    writeFile(path, [&](QFile& file) {
        constexpr int kBatch = 100'000;
        for (int done = 0; done < entries; done += kBatch) {
            QByteArray bytes;
            for (const QString& e : makeEntries(std::min(kBatch, entries - done), table,
                                                20240611u + unsigned(done / kBatch)))
                bytes += e.toUtf8() + "\r\n";
            fileBytes += file.write(bytes);
        }
    });
    for (const bool shown : {true, false}) {
        const Figures f = runIsolated([&](Figures& out) {
            Window w(shown);
            out["load_s"] = w.load(path);
            out["entries"] = w.form->entryModel().count();
            out["after_load_peak_mb"] = peakMemoryMb();
            out["run_longest_pause_s"] = w.convert(true);
            out["results"] = w.form->resultModel().count();
            out["peak_mb"] = peakMemoryMb();
            out["file_mb"] = double(fileBytes) / 1e6;
        });
        printFigures(shown ? "memory, load + conversion, window shown"
                           : "memory, load + conversion, window hidden",
                     f);
    }
}

} // namespace tallyvane::bench
