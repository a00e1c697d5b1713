#pragma once

#include "platform/browser.h"

#include <QObject>

#include <functional>

namespace tallyvane {

// Opens an address with the desktop's own launcher, xdg-open. A desktop with
// no way to show it (no launcher, or one that ends with a failure, as
// xdg-open does when it finds no browser) is told to whenNoBrowser, which can
// show the page some other way; open() then answers true, as the page is
// shown after all. Without whenNoBrowser, open() answers whether the launcher
// started.
class QtBrowser : public Browser {
public:
    explicit QtBrowser(std::function<void(const QString& address)> whenNoBrowser = {});
    bool open(const QString& address) override;

private:
    std::function<void(const QString&)> whenNoBrowser_;
    QObject context_; // the launchers still running end with the browser
};

} // namespace tallyvane
