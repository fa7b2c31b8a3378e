#include "UDisks2/TestSupport/PrivateBus.h"

#include <csignal>
#include <cstdlib>
#include <fstream>

#include "KestrixKit/Tests/Support/ShellCommands.h"

namespace kestrix::test {
namespace {

constexpr const char* permissiveConfig = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <auth>EXTERNAL</auth>
  <!-- Replaced by the address given on the command line. -->
  <listen>unix:tmpdir=/tmp</listen>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
    <allow receive_type="signal"/>
  </policy>
</busconfig>
)";

}  // namespace

PrivateBus::PrivateBus() {
    std::string folder = (std::filesystem::temp_directory_path() / "kestrix-bus-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        skipReason_ = "cannot make a temporary folder for a private bus";
        return;
    }
    folder_ = folder;
    // Ordinary users reach the socket too, as they reach the system bus.
    std::filesystem::permissions(folder_, std::filesystem::perms::others_read | std::filesystem::perms::others_exec |
                                              std::filesystem::perms::group_read | std::filesystem::perms::group_exec,
                                 std::filesystem::perm_options::add);
    std::ofstream(folder_ / "bus.conf") << permissiveConfig;
    address_ = "unix:path=" + (folder_ / "bus").string();
    const std::string pid = commandOutput("dbus-daemon --config-file=" + (folder_ / "bus.conf").string() +
                                          " --address=" + address_ + " --fork --print-pid 2>/dev/null");
    pid_ = static_cast<pid_t>(std::atoi(pid.c_str()));
    if (pid_ <= 0) skipReason_ = "dbus-daemon could not start a private bus";
}

PrivateBus::~PrivateBus() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    std::error_code error;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, error);
}

QDBusConnection PrivateBus::connect(const QString& name) const {
    const QString unique = name + QStringLiteral("-") + QString::fromStdString(folder_.filename().string());
    return QDBusConnection::connectToBus(QString::fromStdString(address_), unique);
}

}  // namespace kestrix::test
