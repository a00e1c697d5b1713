#include "conversion/conversion_run.h"

#include "app/procedure.h"
#include "conversion/text_helpers.h"
#include "platform/direction_options.h"
#include "platform/list_view.h"
#include "platform/progress_bar.h"
#include "platform/prompts.h"
#include "platform/window_services.h"

namespace tallyvane {

namespace {
const QString kLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("PushButton17_Click"));
const QString kNotFound = QStringLiteral("Not Found");
// State entries repeat (a handful of states), while phone numbers typed in that
// direction are all distinct: an unbounded memo would hold every one of them,
// and its growth and release stall the window for tens of milliseconds.
constexpr qsizetype kStateMemoLimit = 4096;
} // namespace

QString normalizeAreaCode(const QString& entry) {
    QString code = GetDigitsOnly(entry); // 134
    if (code.startsWith(QLatin1Char('1')))
        code.remove(0, 1); // 136, 138: only one leading 1 goes
    if (code.size() > 3)
        code.truncate(3); // 140, 142
    return code;
}

QString resultRowText(const FieldValues& values) {
    if (values.empty())
        return kNotFound;
    QString joined;
    for (const auto& value : values) {
        if (value)
            joined += *value;
        joined += QLatin1Char(' ');
    }
    qsizetype begin = 0;
    qsizetype end = joined.size();
    while (begin < end && joined[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && joined[end - 1] == QLatin1Char(' '))
        --end;
    return joined.mid(begin, end - begin);
}

void ConversionRun::PushButton17_Click() {
    if (isConverting_) // 100: a second click during a run does nothing
        return;
    isConverting_ = true; // 102
    Procedure p(s_.prompts, kLocation);
    if (p.test(104, [&] { return s_.entries.count() > 0; }))
        convertEntries(p);
    else
        p.step(188,
               [&] { s_.prompts.messageBox(QStringLiteral("No states or area codes added.")); });
    isConverting_ = false; // 190
}

void ConversionRun::convertEntries(Procedure& p) {
    std::unique_ptr<AreaCodeDatabase> db;
    // A database that cannot be opened ends the run after one report: converting
    // every entry to "Not Found" would present a failure as a result.
    if (!p.step(110, [&] { db = s_.database.open(); }))
        return endRun(p, false);
    areaCodeMemo_.clear();
    stateMemo_.clear();
    p.step(112, [&] { s_.results.clear(); });
    p.step(114, [&] { s_.window.setPointer(Pointer::Busy); });
    const int n = p.value(116, 0, [&] { return s_.entries.count(); });
    QString entryText;
    for (int i = 1; i <= n; ++i) {
        p.step(118, [&] { s_.window.processEvents(); });
        entryText = p.value(122, entryText, [&] { return s_.entries.text(i); });
        p.step(124, [&] {
            const int c = s_.entries.count();
            if (c == 0)
                throw Failure(QStringLiteral("Division by zero"));
            s_.progress.setValue(static_cast<double>(i) / c * 100.0);
        });
        p.step(126, [&] {
            s_.progress.setText(QStringLiteral("Processing: ") + GetFileNameFromPath(entryText));
        });
        p.step(128, [&] { s_.window.processEvents(); });
        p.step(130, [&] { s_.window.setPointer(Pointer::Busy); });
        Lookup outcome = Lookup::Done;
        if (p.test(132, [&] { return s_.options.option1Selected(); }))
            outcome = areaCodeLookup(p, *db, entryText);
        else if (p.test(160, [&] { return s_.options.option2Selected(); }))
            outcome = stateLookup(p, *db, entryText, i);
        if (outcome == Lookup::DatabaseFailed)
            return endRun(p, false);
    }
    // "Done." after a report would call a failure a success.
    endRun(p, p.failures() == 0);
}

ConversionRun::Lookup ConversionRun::areaCodeLookup(Procedure& p, AreaCodeDatabase& db,
                                                    QString& entryText) {
    entryText = normalizeAreaCode(entryText);
    auto cached = areaCodeMemo_.constFind(entryText);
    QString row;
    if (cached != areaCodeMemo_.constEnd()) {
        row = *cached;
    } else {
        FieldValues values;
        // A query that fails mid-run (a damaged or vanished file) ends the run:
        // every later entry would fail the same way.
        if (!p.step(144, [&] { values = db.statesForAreaCode(entryText); }))
            return Lookup::DatabaseFailed;
        row = areaCodeMemo_.insert(entryText, resultRowText(values)).value();
    }
    p.step(row == kNotFound ? 148 : 156, [&] { s_.results.append(row); });
    return Lookup::Done;
}

ConversionRun::Lookup ConversionRun::stateLookup(Procedure& p, AreaCodeDatabase& db,
                                                 const QString& entryText, int i) {
    QString row;
    const bool ok = p.step(162, [&] {
        const QString again = s_.entries.text(i); // the entry is read once more
        // The two texts differ only when the entry changed since it was read.
        const QString key = again == entryText ? again : entryText + QChar(0) + again;
        auto cached = stateMemo_.constFind(key);
        if (cached != stateMemo_.constEnd()) {
            row = *cached;
            return;
        }
        row = resultRowText(db.areaCodesForState(entryText, again));
        if (stateMemo_.size() < kStateMemoLimit)
            stateMemo_.insert(key, row);
    });
    if (!ok)
        return Lookup::DatabaseFailed;
    p.step(row == kNotFound ? 166 : 174, [&] { s_.results.append(row); });
    return Lookup::Done;
}

void ConversionRun::endRun(Procedure& p, bool showDone) {
    p.step(180, [&] { s_.window.setPointer(Pointer::Default); });
    p.step(182, [&] { s_.progress.setValue(0); });
    p.step(184, [&] { s_.progress.setText(QStringLiteral("Progress Bar")); });
    if (showDone)
        p.step(186, [&] { s_.prompts.messageBox(QStringLiteral("Done.")); });
    areaCodeMemo_.clear();
    stateMemo_.clear();
}

} // namespace tallyvane
