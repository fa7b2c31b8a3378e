#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

namespace kestrix {

// A yes-or-no setting and its value when absent.
struct FlagSetting {
    const char* key;
    bool fallback;
};

// A setting that names one of a few choices, and the choice when absent.
struct ChoiceSetting {
    const char* key;
    const char* fallback;
    QStringList choices;
};

inline const FlagSetting showDiskImagesSetting{"showDiskImages", false};
inline const FlagSetting showNetworkSharesSetting{"showNetworkShares", false};
inline const FlagSetting hotkeyEnabledSetting{"hotkeyEnabled", true};
inline const FlagSetting onboardedSetting{"onboarded", false};
inline const ChoiceSetting mainPageSetting{"mainPage", "drives", {"drives", "history"}};
inline const ChoiceSetting settingsTabSetting{"settingsTab", "general", {"general", "automation", "privacy", "more"}};

// The user's settings. A stored value of the wrong kind (not a yes-or-no value, not one of the
// choices) reads as absent, so a hand-edited file never breaks the app.
class AppSettings {
public:
    // The user's own settings file.
    AppSettings();
    // An INI file of its own, for tests.
    explicit AppSettings(const QString& iniPath);

    bool flag(const FlagSetting& setting) const;
    void setFlag(const FlagSetting& setting, bool value);
    QString choice(const ChoiceSetting& setting) const;
    void setChoice(const ChoiceSetting& setting, const QString& value);

private:
    QSettings settings_;
};

}  // namespace kestrix
