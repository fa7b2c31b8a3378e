#include <mutex>

#include <QCoreApplication>
#include <QDBusConnection>

#include "KestrixKit/Linux/Ejecting/UnmountEjector.h"
#include "UDisks2/UDisks2Bus.h"
#include "UDisks2/UDisks2Ejector.h"
#include "kestrixctl/DiskService/DiskServiceEjector.h"

namespace kestrixctl {
namespace {

// Qt's D-Bus wants an application object; made once, on the first eject, and kept to the end.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "kestrixctl";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
        static QCoreApplication application(argc, argv);
    }
}

// Chooses at the first eject or release, so that commands that only look never touch the system
// bus.
class UDisks2OrKernelEjector final : public kestrix::DiskEjecting {
public:
    explicit UDisks2OrKernelEjector(PasswordPrompt& prompt) : prompt_(prompt) {}

    kestrix::EjectOutcome eject(const kestrix::Drive& drive, bool force) override {
        std::call_once(chosen_, [this] { ejector_ = choose(); });
        return ejector_->eject(drive, force);
    }

    kestrix::ReleaseOutcome release(const kestrix::KernelHolder& holder) override {
        std::call_once(chosen_, [this] { ejector_ = choose(); });
        return ejector_->release(holder);
    }

private:
    std::shared_ptr<kestrix::DiskEjecting> choose() {
        ensureApplication();
        const QDBusConnection bus = QDBusConnection::systemBus();
        if (!kestrix::isUDisks2Available(bus)) return std::make_shared<kestrix::UnmountEjector>();
        const kestrix::UDisks2Authorization authorization{.mayAsk = prompt_.mayAsk(),
                                                          .passwordWanted = [this] { return prompt_.startAgent(); }};
        return std::make_shared<kestrix::UDisks2Ejector>(bus, authorization);
    }

    PasswordPrompt& prompt_;
    std::once_flag chosen_;
    std::shared_ptr<kestrix::DiskEjecting> ejector_;
};

}  // namespace

std::shared_ptr<kestrix::DiskEjecting> diskServiceEjector(PasswordPrompt& prompt) {
    return std::make_shared<UDisks2OrKernelEjector>(prompt);
}

}  // namespace kestrixctl
