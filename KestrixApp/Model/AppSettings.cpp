#include "KestrixApp/Model/AppSettings.h"

namespace kestrix {

AppSettings::AppSettings() : settings_("orvane", "Kestrix") {}

AppSettings::AppSettings(const QString& iniPath) : settings_(iniPath, QSettings::IniFormat) {}

bool AppSettings::flag(const FlagSetting& setting) const {
    const QVariant stored = settings_.value(setting.key);
    if (stored.typeId() == QMetaType::Bool) return stored.toBool();
    // Text files keep a yes-or-no value as the word itself.
    if (stored.typeId() == QMetaType::QString) {
        if (stored.toString() == "true") return true;
        if (stored.toString() == "false") return false;
    }
    return setting.fallback;
}

// Written to the file at once: a choice such as having completed the welcome must survive the
// app ending right after it.
void AppSettings::setFlag(const FlagSetting& setting, bool value) {
    settings_.setValue(setting.key, value);
    settings_.sync();
}

QString AppSettings::choice(const ChoiceSetting& setting) const {
    const QVariant stored = settings_.value(setting.key);
    if (stored.typeId() == QMetaType::QString && setting.choices.contains(stored.toString())) return stored.toString();
    return setting.fallback;
}

void AppSettings::setChoice(const ChoiceSetting& setting, const QString& value) {
    if (!setting.choices.contains(value)) return;
    settings_.setValue(setting.key, value);
    settings_.sync();
}

}  // namespace kestrix
