#pragma once

#include "platform/browser.h"

#include <QDesktopServices>
#include <QUrl>

namespace tallyvane {

class QtBrowser : public Browser {
public:
    bool open(const QString& address) override {
        return QDesktopServices::openUrl(QUrl::fromUserInput(address));
    }
};

} // namespace tallyvane
