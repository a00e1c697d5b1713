#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tallyvane::testing {

// A real, tiny file system for one test: a tmpfs mounted on a fresh folder and
// unmounted when this goes. Mounting needs root, as CI has; refusal() says why
// it did not work, for the test's skip message.
class TmpfsMount {
public:
    explicit TmpfsMount(const QByteArray& options = "size=1m", unsigned long flags = 0);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    QString refusal() const { return refusal_; }
    QString path() const { return dir_.path(); }
    // Writes a file named "filler" until at most `free` bytes are left.
    bool fillLeaving(qint64 free);

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString refusal_;
};

} // namespace tallyvane::testing

// Skips the test, saying so, where no tmpfs can be mounted.
#define TALLYVANE_REQUIRE_MOUNT(disk)                                                              \
    if (!(disk).mounted())                                                                         \
    QSKIP(qPrintable(QStringLiteral("a tmpfs could not be mounted (%1); this test needs root")     \
                         .arg((disk).refusal())))
