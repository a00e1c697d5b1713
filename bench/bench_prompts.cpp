#include "bench_prompts.h"

namespace tallyvane::bench {

int RecordingPrompts::messageBox(const QString& text, int style, const QString&) {
    shown << text;
    return style == MessageStyle::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

QString RecordingPrompts::inputPrompt(const QString& message, const QString&, const QString&) {
    shown << message;
    return {};
}

namespace {
QString settingsKey(const QString& application, const QString& section, const QString& key) {
    return application + QChar(0) + section + QChar(0) + key;
}
} // namespace

QString MemorySettings::read(const QString& application, const QString& section, const QString& key,
                             const QString& defaultValue) {
    return values_.value(settingsKey(application, section, key), defaultValue);
}

void MemorySettings::write(const QString& application, const QString& section, const QString& key,
                           const QString& value) {
    values_.insert(settingsKey(application, section, key), value);
}

} // namespace tallyvane::bench
