#include "app/qt/window_place.h"

#include "app/qt/form1_fit.h"
#include "commands/product.h"
#include "platform/failure.h"
#include "platform/settings_store.h"

#include <QWidget>

namespace tallyvane {

namespace {
const QString kWindowPlace = QStringLiteral("Window Place");
} // namespace

void restoreWindowPlace(QWidget* window, SettingsStore& settings) {
    try {
        const QString stored = settings.read(kCompanyName, kProductTitle, kWindowPlace, {});
        if (stored.isEmpty() || !window->restoreGeometry(QByteArray::fromBase64(stored.toLatin1())))
            return;
        // A screen smaller than the one the place was kept on.
        resizeWithinScreen(window, window->size());
    } catch (const Failure&) {
    }
}

void rememberWindowPlace(const QWidget* window, SettingsStore& settings) {
    try {
        settings.write(kCompanyName, kProductTitle, kWindowPlace,
                       QString::fromLatin1(window->saveGeometry().toBase64()));
    } catch (const Failure&) {
    }
}

} // namespace tallyvane
