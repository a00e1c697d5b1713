#include "app/start_up.h"

#include "commands/error_report.h"
#include "commands/file_exists.h"
#include "commands/procedure.h"
#include "commands/product.h"
#include "lists/list_view.h"
#include "platform/direction_options.h"
#include "platform/failure.h"
#include "platform/main_window_surface.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>

namespace tallyvane {

namespace {

const QString kSection = kProductTitle;
const QString kConvertOption = QStringLiteral("Convert Option");
constexpr int kColumnWidthTwips = 7000;
constexpr qsizetype kLongestApplicationTitle = 40;

int storedDirection(SettingsStore& settings) {
    return toInteger16(settings.read(kCompanyName, kSection, kConvertOption, QStringLiteral("1")));
}

void saveDirection(Prompts& prompts, SettingsStore& settings, const QString& value) {
    try {
        settings.write(kCompanyName, kSection, kConvertOption, value);
    } catch (const Failure& failure) {
        // The click has no error report of its own. The person keeps the chosen
        // direction for this session and learns it will not survive a restart.
        prompts.messageBox(
            QStringLiteral("The conversion direction could not be saved for the next start.") +
                QStringLiteral("\r\n") + failure.description(),
            MessageStyle::Warning);
    }
}

} // namespace

int toInteger16(const QString& text) {
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        throw Failure(QStringLiteral("Type mismatch"));
    // rint rounds in the default mode, to nearest with halves to even.
    const double rounded = std::rint(number);
    if (rounded < -32768.0 || rounded > 32767.0)
        throw Failure(QStringLiteral("Overflow"));
    return static_cast<int>(rounded);
}

QString applicationTitleFor(const QString& productTitle) {
    QString title = productTitle;
    do {
        const qsizetype space = title.lastIndexOf(QLatin1Char(' '));
        if (space < 0)
            break;
        title.truncate(space);
    } while (title.size() > kLongestApplicationTitle);
    return title;
}

void SetAppTitle(MainWindowSurface& surface) {
    surface.setApplicationTitle(applicationTitleFor(kProductTitle));
}

void ApplySkin(MainWindowSurface& surface, const QString& programFolder) {
    const QString skin = programFolder + QStringLiteral("/x/o.cjs");
    if (!QFileInfo(skin).isFile())
        return;
    surface.applyButtonFaceColours();
    surface.loadSkin(skin);
}

void Form_Load(const StartUpServices& s) {
    Procedure p(s.prompts, locationText(QStringLiteral("Form1"), QStringLiteral("Form_Load")));
    p.step(102, [&] { ApplySkin(s.surface, s.programFolder); });
    p.step(106, [&] { s.surface.setCaption(kProductTitle); });
    p.step(106, [&] { s.surface.setIconToApplicationIcon(); });
    p.step(106, [&] { SetAppTitle(s.surface); });

    const QString pointerImage = s.programFolder + QStringLiteral("/HAND-M.CUR");
    if (p.test(108, [&] { return FileExists(pointerImage); }))
        p.step(110, [&] { s.surface.setPointerImage(pointerImage); });

    p.step(130, [&] { s.entries.addColumn(QStringLiteral("States or Area Codes")); });
    p.step(132, [&] { s.entries.setFirstColumnWidthTwips(kColumnWidthTwips); });
    p.step(134, [&] { s.results.addColumn(QStringLiteral("Results")); });
    p.step(136, [&] { s.results.setFirstColumnWidthTwips(kColumnWidthTwips); });

    // Selecting from here runs no click handler, so the restore writes nothing.
    if (p.test(138, [&] { return storedDirection(s.settings) == 1; })) {
        p.step(140, [&] { s.options.setOption1(true); });
        p.step(142, [&] { s.options.setOption2(false); });
    } else if (p.test(144, [&] { return storedDirection(s.settings) == 2; })) {
        p.step(146, [&] { s.options.setOption1(false); });
        p.step(148, [&] { s.options.setOption2(true); });
    }
}

void Option1_Click(Prompts& prompts, SettingsStore& settings) {
    saveDirection(prompts, settings, QStringLiteral("1"));
}

void Option2_Click(Prompts& prompts, SettingsStore& settings) {
    saveDirection(prompts, settings, QStringLiteral("2"));
}

} // namespace tallyvane
