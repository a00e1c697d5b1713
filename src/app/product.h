#pragma once

#include <QString>

namespace tallyvane {

// Fixed texts of the product.
inline const QString kProductTitle = QStringLiteral("Tallyvane");
inline const QString kCompanyName = QStringLiteral("Veltmark");
inline const QString kSupportAddress = QStringLiteral("support@tallyvane.example");
inline const QString kDatabaseFileName = QStringLiteral("areacodes.db");
inline const QString kHelpFileName = QStringLiteral("help.html");

} // namespace tallyvane
