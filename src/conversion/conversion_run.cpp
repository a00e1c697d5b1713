#include "conversion/conversion_run.h"

#include "conversion/several_numbers.h"

#include "commands/procedure.h"
#include "conversion/entry_progress.h"
#include "lists/list_view.h"
#include "platform/direction_options.h"
#include "platform/progress_bar.h"
#include "platform/prompts.h"
#include "platform/window_services.h"

namespace tallyvane {

namespace {
const QString kLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("PushButton17_Click"));
} // namespace

void ConversionRun::PushButton17_Click() {
    if (isConverting_) // a second click during a run does nothing
        return;
    isConverting_ = true;
    Procedure p(s_.prompts, kLocation);
    if (p.test(104, [&] { return s_.entries.count() > 0; }))
        convertEntries(p);
    else
        p.step(188,
               [&] { s_.prompts.messageBox(QStringLiteral("No states or area codes added.")); });
    isConverting_ = false;
}

void ConversionRun::convertEntries(Procedure& p) {
    std::unique_ptr<AreaCodeDatabase> db;
    AreaCodeTable table;
    // A database that cannot be opened or read ends the run after one report:
    // converting every entry to "Not Found" would present a failure as a result.
    // Every answer is read here, so that no entry costs a query of its own.
    if (!p.step(110, [&] {
            db = s_.database.open();
            table = AreaCodeTable::read(*db);
        }))
        return endRun(p, false);
    convertAll(p, {*db, table});
}

void ConversionRun::convertAll(Procedure& p, Source source) {
    p.step(112, [&] { s_.results.clear(); });
    p.step(114, [&] { s_.window.setPointer(Pointer::Busy); });
    const int n = p.value(116, 0, [&] { return s_.entries.count(); });
    // Every later entry would run out of memory as well: one report, and the
    // rows so far stay.
    converted_ = 0;
    p.describeOutOfMemory([&] {
        return QStringLiteral("Out of memory: %1 of %2 entries were converted; the rest were not.")
            .arg(converted_)
            .arg(n);
    });
    QString entryText;
    for (int i = 1; i <= n; ++i) {
        p.step(118, [&] { s_.window.processEvents(); });
        entryText = p.value(122, entryText, [&] { return s_.entries.text(i); });
        if (p.ranOutOfMemory())
            break;
        p.step(124, [&] {
            const int c = s_.entries.count();
            if (c == 0)
                throw Failure(QStringLiteral("Division by zero"));
            s_.progress.setValue(static_cast<double>(i) / c * 100.0);
        });
        p.step(126,
               [&] { showEntryInProgress(s_.progress, s_.results, s_.entries, entryText, i); });
        p.step(128, [&] { s_.window.processEvents(); });
        p.step(130, [&] { s_.window.setPointer(Pointer::Busy); });
        // The buttons are read for every entry: a switch during the run
        // converts the later entries the other way.
        const bool option1 = p.test(132, [&] { return s_.options.option1Selected(); });
        const bool option2 = !option1 && p.test(160, [&] { return s_.options.option2Selected(); });
        Lookup outcome = Lookup::Done;
        if (const std::optional<Direction> direction = directionFor(option1, option2))
            outcome = *direction == Direction::AreaCodesToStates
                          ? areaCodeLookup(p, source.table, entryText)
                          : stateLookup(p, source, entryText, i);
        if (outcome == Lookup::DatabaseFailed || p.ranOutOfMemory())
            return endRun(p, false);
    }
    if (p.ranOutOfMemory())
        return endRun(p, false);
    // "Done." after a report would call a failure a success.
    endRun(p, p.failures() == 0);
}

ConversionRun::Lookup ConversionRun::areaCodeLookup(Procedure& p, const AreaCodeTable& table,
                                                    QString& entryText) {
    const QList<QStringView> numbers = severalNumbers(QStringView(entryText));
    if (!numbers.isEmpty())
        return severalNumbersLookup(p, table, numbers);
    const AreaCode code = AreaCode::of(entryText);
    entryText = code.text();
    AreaCodeTable::AnswerId answer = AreaCodeTable::kNotFound;
    p.step(144, [&] { answer = table.statesFor(code); });
    if (p.step(answer == AreaCodeTable::kNotFound ? 148 : 156, [&] {
            if (answer == AreaCodeTable::kNotFound)
                s_.results.setNextRowNote(table.reasons().forCode(code));
            s_.results.append(table.row(answer));
            resultsDirection_ = Direction::AreaCodesToStates;
        }))
        ++converted_;
    return Lookup::Done;
}

// An entry of several numbers: one row, each number's answer in its place
// ("NH ::: NY"), and the reasons of those not found in theirs.
ConversionRun::Lookup ConversionRun::severalNumbersLookup(Procedure& p, const AreaCodeTable& table,
                                                          const QList<QStringView>& numbers) {
    QStringList rows, reasons;
    bool anyNotFound = false;
    p.step(144, [&] {
        for (const QStringView number : numbers) {
            const AreaCode code = AreaCode::of(number);
            const AreaCodeTable::AnswerId answer = table.statesFor(code);
            rows << table.row(answer);
            reasons << (answer == AreaCodeTable::kNotFound ? table.reasons().forCode(code)
                                                           : QString());
            anyNotFound = anyNotFound || answer == AreaCodeTable::kNotFound;
        }
    });
    const QString join =
        QString::fromLatin1(kSeveralNumbersJoin.data(), qsizetype(kSeveralNumbersJoin.size()));
    if (p.step(anyNotFound ? 148 : 156, [&] {
            if (anyNotFound)
                s_.results.setNextRowNote(reasons.join(join));
            s_.results.append(rows.join(join));
            resultsDirection_ = Direction::AreaCodesToStates;
        }))
        ++converted_;
    return Lookup::Done;
}

ConversionRun::Lookup ConversionRun::stateLookup(Procedure& p, Source source,
                                                 const QString& entryText, int i) {
    QString row;
    bool found = false;
    const bool ok = p.step(162, [&] {
        const QString again = s_.entries.text(i); // the entry is read once more
        if (again == entryText) {
            const AreaCodeTable::AnswerId answer = source.table.areaCodesFor(entryText);
            found = answer != AreaCodeTable::kNotFound;
            row = source.table.row(answer);
            return;
        }
        // The entry changed since it was read: the two values differ, which
        // only the database itself can answer.
        const FieldValues values = source.db.areaCodesForState(entryText, again);
        found = !values.empty();
        row = resultRowText(values);
    });
    // A query that fails mid-run (a damaged or vanished file) ends the run:
    // every later entry would fail the same way.
    if (!ok)
        return Lookup::DatabaseFailed;
    if (p.step(found ? 174 : 166, [&] {
            if (!found)
                s_.results.setNextRowNote(source.table.reasons().forState(entryText));
            s_.results.append(row);
            resultsDirection_ = Direction::StatesToAreaCodes;
        }))
        ++converted_;
    return Lookup::Done;
}

void ConversionRun::endRun(Procedure& p, bool showDone) {
    p.step(180, [&] { s_.window.setPointer(Pointer::Default); });
    p.step(182, [&] { s_.progress.setValue(0); });
    p.step(184, [&] { s_.progress.setText(QStringLiteral("Progress Bar")); });
    if (showDone)
        p.step(186, [&] { s_.prompts.messageBox(QStringLiteral("Done.")); });
}

} // namespace tallyvane
