#pragma once

#include "platform/prompts.h"
#include "platform/settings_store.h"

#include <QMap>
#include <QStringList>

namespace tallyvane::bench {

// Answers every message box with OK at once, so that a timed run is never
// held up by a modal dialog, and keeps the texts to check the run against.
class RecordingPrompts : public Prompts {
public:
    int messageBox(const QString& text, int style, const QString& title) override;
    QString inputPrompt(const QString& message, const QString& title,
                        const QString& defaultText) override;
    QStringList shown;
};

// Keeps the window's stored choices in memory, so a benchmark run leaves the
// user's own settings alone.
class MemorySettings : public SettingsStore {
public:
    QString read(const QString& application, const QString& section, const QString& key,
                 const QString& defaultValue) override;
    void write(const QString& application, const QString& section, const QString& key,
               const QString& value) override;

private:
    QMap<QString, QString> values_;
};

} // namespace tallyvane::bench
