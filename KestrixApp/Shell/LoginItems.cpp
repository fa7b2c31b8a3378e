#include "KestrixApp/Shell/LoginItems.h"

#include <QSettings>

#include "KestrixApp/Desktop/Autostart/AutostartEntry.h"
#include "KestrixApp/Desktop/Autostart/BackgroundPortal.h"
#include "KestrixApp/Desktop/Autostart/XdgAutostart.h"

namespace kestrix::shell {

namespace {

class AutostartLoginItem : public LoginItem {
public:
    explicit AutostartLoginItem(desktop::XdgAutostart autostart) : autostart_(std::move(autostart)) {}
    bool isEnabled() const override { return autostart_.isEnabled(); }
    std::optional<std::string> setEnabled(bool on) override { return autostart_.setEnabled(on); }

private:
    desktop::XdgAutostart autostart_;
};

// The portal tells whether a request was granted but cannot be asked later, and its entry lies
// outside the sandbox: the last granted answer is kept with the app's settings.
class PortalLoginItem : public LoginItem {
public:
    bool isEnabled() const override { return QSettings().value(grantedKey, false).toBool(); }
    std::optional<std::string> setEnabled(bool on) override {
        auto failure = portal_.request(on);
        if (!failure) QSettings().setValue(grantedKey, on);
        return failure;
    }

private:
    static constexpr const char* grantedKey = "launchAtLoginGranted";
    desktop::BackgroundPortal portal_{QDBusConnection::sessionBus(),
                                      {"kestrix", desktop::AutostartEntry::backgroundOption}};
};

}  // namespace

std::shared_ptr<LoginItem> loginItemForThisSession(const std::string& executable) {
    if (desktop::BackgroundPortal::isSandboxed()) return std::make_shared<PortalLoginItem>();
    return std::make_shared<AutostartLoginItem>(desktop::XdgAutostart::forThisSession(executable));
}

}  // namespace kestrix::shell
