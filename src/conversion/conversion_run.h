#pragma once

#include "app/form1_services.h"
#include "platform/area_code_database.h"

#include <QHash>
#include <QString>

namespace tallyvane {

class AreaCodeDatabase;
class Procedure;

// "Start Converting": one results row per entry, in entry order.
class ConversionRun {
public:
    explicit ConversionRun(Form1Services& services) : s_(services) {}

    void PushButton17_Click();
    bool IsConverting() const { return isConverting_; }

private:
    enum class Lookup { Done, DatabaseFailed };
    void convertEntries(Procedure& p);
    Lookup areaCodeLookup(Procedure& p, AreaCodeDatabase& db, QString& entryText);
    Lookup stateLookup(Procedure& p, AreaCodeDatabase& db, const QString& entryText, int i);
    void endRun(Procedure& p, bool showDone);

    Form1Services& s_;
    bool isConverting_ = false;
    // Answers of this run by query value: the database is only read during a run.
    QHash<QString, QString> areaCodeMemo_;
    QHash<QString, QString> stateMemo_;
};

// The results row for the matched values: "Not Found" when there are none,
// otherwise the values joined by single spaces (a null adds only the space),
// trimmed of spaces at both ends.
QString resultRowText(const std::vector<std::optional<QString>>& values);
// The three-digit query code of an area-code entry.
QString normalizeAreaCode(const QString& entry);

} // namespace tallyvane
