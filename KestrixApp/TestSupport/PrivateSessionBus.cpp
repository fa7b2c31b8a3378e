#include "KestrixApp/TestSupport/PrivateSessionBus.h"

#include <unistd.h>

#include <QDBusConnectionInterface>
#include <filesystem>
#include <fstream>

#include "KestrixApp/TestSupport/Waiting.h"

namespace kestrix::desktop::test {
namespace {

// A session bus of the test's own configuration: no service folders, so that nothing installed
// on the machine (a desktop portal, a notification server) is started behind the test's back
// when a test calls a name no one owns yet. Ordinary users may connect, for the programs a test
// runs as one.
constexpr const char* sessionConfig = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <auth>EXTERNAL</auth>
  <!-- Replaced by the address given on the command line. -->
  <listen>unix:tmpdir=/tmp</listen>
  <policy context="default">
    <allow user="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

}  // namespace

PrivateSessionBus::PrivateSessionBus() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrix-bus-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        problem_ = "no temporary folder for the bus";
        return;
    }
    folder_ = pattern;
    std::filesystem::permissions(folder_, std::filesystem::perms::others_read | std::filesystem::perms::others_exec |
                                              std::filesystem::perms::group_read | std::filesystem::perms::group_exec,
                                 std::filesystem::perm_options::add);
    std::ofstream(folder_ + "/bus.conf") << sessionConfig;
    daemon_ = std::make_unique<ServerProcess>(std::vector<std::string>{
        "dbus-daemon", "--config-file=" + folder_ + "/bus.conf", "--nofork", "--address=unix:path=" + folder_ + "/bus",
        "--print-address=1"});
    if (!daemon_->firstLine()) {
        problem_ = "dbus-daemon did not start";
        return;
    }
    address_ = *daemon_->firstLine();
    connectionName_ = QStringLiteral("kestrix-test-bus-") + QString::fromStdString(folder_);
    if (!connection().isConnected()) problem_ = "cannot connect to the private bus at " + address_;
}

PrivateSessionBus::~PrivateSessionBus() {
    if (!connectionName_.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
    daemon_.reset();
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

QDBusConnection PrivateSessionBus::connection() const {
    return QDBusConnection::connectToBus(QString::fromStdString(address_), connectionName_);
}

bool PrivateSessionBus::waitForOwner(const QString& name) const {
    const QDBusConnection bus = connection();
    return waitUntil(5.0, [&] { return bus.interface()->isServiceRegistered(name).value(); });
}

}  // namespace kestrix::desktop::test
