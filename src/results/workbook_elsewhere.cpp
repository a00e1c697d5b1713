#include "results/workbook_elsewhere.h"

#include "platform/failure.h"
#include "platform/file_dialog.h"
#include "platform/prompts.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace tallyvane {

namespace {

void copyWhole(const QString& from, const QString& to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        throw Failure(in.errorString());
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        throw Failure(out.errorString());
    constexpr qint64 kBlock = qint64(1) << 20;
    while (!in.atEnd()) {
        const QByteArray block = in.read(kBlock);
        if (block.isEmpty() && in.error() != QFileDevice::NoError)
            throw Failure(in.errorString());
        if (out.write(block) != block.size())
            throw Failure(out.errorString());
    }
    if (!out.commit())
        throw Failure(out.errorString());
}

} // namespace

void saveWorkbookWhereAsked(Prompts& prompts, FileDialog& dialog, const QString& workbookPath) {
    dialog.setFileName(QStringLiteral("Results.xlsx"));
    dialog.setFlags(DialogFlag::Explorer | DialogFlag::LongNames | DialogFlag::OverwritePrompt);
    dialog.setTitle(QStringLiteral("Save Results As Excel File"));
    dialog.setFilter(QStringLiteral("Excel Workbook (*.xlsx)|*.xlsx|All Files (*.*)|*.*|"));
    const QString path = dialog.showSave();
    if (path.isEmpty())
        return;
    copyWhole(workbookPath, path);
    prompts.messageBox(QStringLiteral("No spreadsheet application here can show a workbook, so the "
                                      "results were saved as:\r\n") +
                       QDir::toNativeSeparators(path));
}

} // namespace tallyvane
