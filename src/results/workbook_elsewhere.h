#pragma once

#include <QString>

namespace tallyvane {

class FileDialog;
class Prompts;

// "Save Results As Excel File" where no spreadsheet application here can show
// a workbook (a LibreOffice without a user interface): the finished workbook
// is saved where the person chooses, whole or not at all, and the person is
// told where it went. Cancel saves nothing. Throws Failure when it cannot be
// written.
void saveWorkbookWhereAsked(Prompts& prompts, FileDialog& dialog, const QString& workbookPath);

} // namespace tallyvane
