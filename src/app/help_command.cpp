#include "app/help_command.h"

#include "commands/procedure.h"
#include "commands/product.h"
#include "platform/browser.h"
#include "platform/data_files.h"
#include "platform/prompts.h"

#include <QFileInfo>
#include <QUrl>

namespace tallyvane {

namespace {
const QString kLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("PushButton8_Click"));
} // namespace

QString helpPageAddress(const QString& programFolder) {
    const QStringList candidates = dataFileCandidates(programFolder, kHelpFileName);
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return QUrl::fromLocalFile(candidate).toString(QUrl::FullyEncoded);
    }
    // Handing the browser an address of nothing would only show its own error
    // page, so a missing page is reported as the command's failure.
    throw Failure(QStringLiteral("File not found: ") + candidates.first());
}

QString helpPageNotOpenedMessage(const QString& path) {
    return QStringLiteral("No web browser could be started to show the help page. You can open "
                          "it in any browser; it is at:\r\n") +
           path;
}

void PushButton8_Click(Prompts& prompts, Browser& browser, const QString& programFolder) {
    Procedure p(prompts, kLocation);
    p.step(100, [&] {
        prompts.messageBox(
            QStringLiteral("Entries should look like: New York, NY (with a comma separating city "
                           "and state) or 03053. Please email ") +
                kSupportAddress + QStringLiteral(" if you have any questions."),
            MessageStyle::Ok);
    });
    // A box that fails while offering the page counts as a Yes.
    const int answer = p.value(102, MessageAnswer::Yes, [&] {
        return prompts.messageBox(QStringLiteral("Would you like to read the online help file?"),
                                  MessageStyle::YesNo);
    });
    if (answer == MessageAnswer::No)
        return;
    // A browser that starts and then fails is its own concern. When no program
    // could be started at all, nothing would happen on screen, so the person
    // is told where the page is to open it some other way.
    p.step(104, [&] {
        const QString address = helpPageAddress(programFolder);
        if (!browser.open(address))
            prompts.messageBox(helpPageNotOpenedMessage(QUrl(address).toLocalFile()),
                               MessageStyle::Warning);
    });
}

} // namespace tallyvane
