#pragma once

#include "conversion/area_code_table.h"
#include "conversion/direction.h"

#include <QString>

namespace tallyvane {

class AreaCodeDatabaseOpener;
class DirectionOptions;
class ListView;
class Procedure;
class ProgressBar;
class Prompts;
class WindowServices;

// "Start Converting": one results row per entry, in entry order. The handler
// name is the window's own and appears in error reports.
class ConversionRun {
public:
    struct Services {
        Prompts& prompts;
        WindowServices& window;
        const ListView& entries;
        ListView& results;
        ProgressBar& progress;
        const DirectionOptions& options;
        AreaCodeDatabaseOpener& database;
    };
    explicit ConversionRun(const Services& services) : s_(services) {}

    void PushButton17_Click();
    bool IsConverting() const { return isConverting_; }
    // The direction of the last results row a run appended: what the results
    // list holds now, whichever button is chosen since.
    Direction resultsDirection() const { return resultsDirection_; }

private:
    enum class Lookup { Done, DatabaseFailed };
    struct Source {
        AreaCodeDatabase& db;
        const AreaCodeTable& table;
    };
    void convertEntries(Procedure& p);
    void convertAll(Procedure& p, Source source);
    Lookup areaCodeLookup(Procedure& p, const AreaCodeTable& table, QString& entryText);
    Lookup severalNumbersLookup(Procedure& p, const AreaCodeTable& table,
                                const QList<QStringView>& numbers);
    Lookup stateLookup(Procedure& p, Source source, const QString& entryText, int i);
    void endRun(Procedure& p, bool showDone);

    Services s_;
    bool isConverting_ = false;
    int converted_ = 0; // results rows this run has appended
    Direction resultsDirection_ = Direction::AreaCodesToStates;
};

} // namespace tallyvane
