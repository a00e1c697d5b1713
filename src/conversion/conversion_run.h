#pragma once

#include "app/form1_services.h"
#include "conversion/area_code_table.h"

#include <QString>

namespace tallyvane {

class Procedure;

// "Start Converting": one results row per entry, in entry order.
class ConversionRun {
public:
    explicit ConversionRun(Form1Services& services) : s_(services) {}

    void PushButton17_Click();
    bool IsConverting() const { return isConverting_; }

private:
    enum class Lookup { Done, DatabaseFailed };
    struct Source {
        AreaCodeDatabase& db;
        const AreaCodeTable& table;
    };
    void convertEntries(Procedure& p);
    void convertAll(Procedure& p, Source source);
    Lookup areaCodeLookup(Procedure& p, const AreaCodeTable& table, QString& entryText);
    Lookup stateLookup(Procedure& p, Source source, const QString& entryText, int i);
    void endRun(Procedure& p, bool showDone);

    Form1Services& s_;
    bool isConverting_ = false;
};

// The three-digit query code of an area-code entry.
QString normalizeAreaCode(const QString& entry);

} // namespace tallyvane
