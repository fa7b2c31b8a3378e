#include "UDisks2/TestSupport/PolkitDaemon.h"

#include <unistd.h>

#include <fstream>

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "UDisks2/TestSupport/Eventually.h"

namespace fs = std::filesystem;

namespace kestrix::test {
namespace {

const char* const daemonProgram = "/usr/lib/polkit-1/polkitd";

bool authorityAnswers(const std::string& busAddress) {
    const QString name = QStringLiteral("polkit-probe-") + QString::number(getpid());
    bool answers = false;
    {
        const QDBusConnection bus = QDBusConnection::connectToBus(QString::fromStdString(busAddress), name);
        answers = bus.isConnected() &&
                  bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.PolicyKit1")).value();
    }
    QDBusConnection::disconnectFromBus(name);
    return answers;
}

}  // namespace

PolkitDaemon::PolkitDaemon(const std::string& busAddress, const std::string& rules) {
    if (geteuid() != 0) {
        skipReason_ = "polkitd with rules of its own needs root";
        return;
    }
    if (!fs::exists(daemonProgram)) {
        skipReason_ = std::string(daemonProgram) + " is not installed (apt-get install polkitd)";
        return;
    }
    std::string folder = (fs::temp_directory_path() / "kestrix-polkit-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        skipReason_ = "cannot make a folder for polkit's rules";
        return;
    }
    folder_ = folder;
    // polkitd reads its rules after it has become the polkitd user.
    fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    std::ofstream(folder_ / "50-test.rules") << rules;
    fs::permissions(folder_ / "50-test.rules", fs::perms::owner_read | fs::perms::owner_write |
                                                   fs::perms::group_read | fs::perms::others_read);
    daemon_ = std::make_unique<ChildProcess>(std::vector<std::string>{
        "/usr/bin/unshare", "-m", "--propagation", "private", "/bin/sh", "-c",
        unmountOtherDrivesInThisNamespace() + "mount --bind '" + folder_.string() + "' /etc/polkit-1/rules.d && exec env DBUS_SYSTEM_BUS_ADDRESS='" +
            busAddress + "' " + daemonProgram + " --no-debug >/dev/null 2>&1"});
    if (!eventually([&] { return authorityAnswers(busAddress); })) skipReason_ = "polkitd did not appear on the private bus";
}

PolkitDaemon::~PolkitDaemon() {
    daemon_.reset();
    std::error_code error;
    if (!folder_.empty()) fs::remove_all(folder_, error);
}

}  // namespace kestrix::test
