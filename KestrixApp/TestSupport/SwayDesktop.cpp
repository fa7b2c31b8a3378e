#include "KestrixApp/TestSupport/SwayDesktop.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "KestrixApp/TestSupport/Waiting.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"

namespace kestrix::desktop::test {
namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& word) {
    std::string result = "'";
    for (const char character : word) result += character == '\'' ? std::string("'\\''") : std::string(1, character);
    return result + "'";
}

SwayArea swayAreaOf(const nlohmann::json& node) {
    const nlohmann::json& rect = node.value("rect", nlohmann::json::object());
    return {rect.value("x", 0), rect.value("y", 0), rect.value("width", 0), rect.value("height", 0)};
}

template <typename Visit>
void visitSwayNodes(const nlohmann::json& node, const Visit& visit) {
    visit(node);
    for (const char* children : {"nodes", "floating_nodes"}) {
        if (!node.contains(children) || !node[children].is_array()) continue;
        for (const nlohmann::json& child : node[children]) visitSwayNodes(child, visit);
    }
}

int viewsOf(const nlohmann::json& tree, pid_t pid) {
    int count = 0;
    visitSwayNodes(tree, [&](const nlohmann::json& node) {
        if (node.value("pid", -1) == pid && node.value("type", "") != "workspace") ++count;
    });
    return count;
}

}  // namespace

SwayDesktop::SwayDesktop(DesktopUser user, const std::string& busAddress, const std::string& size, SwayBar bar)
    : user_(std::move(user)), busAddress_(busAddress) {
    if (access("/usr/bin/sway", X_OK) != 0 || access("/usr/bin/swaymsg", X_OK) != 0) {
        problem_ = "sway is not installed (apt-get install sway)";
        return;
    }
    std::string pattern = (fs::temp_directory_path() / "kestrix-sway-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr || chown(pattern.c_str(), user_.uid, user_.gid) != 0) {
        problem_ = "no runtime folder for sway";
        return;
    }
    runtimeFolder_ = pattern;
    // Native Wayland clients only: no X server beside it.
    std::ofstream config(runtimeFolder_ + "/sway.conf");
    config << "output HEADLESS-1 resolution " << size << "\nxwayland disable\n";
    if (bar == SwayBar::withTray) config << "bar {\n  tray_output *\n}\n";
    config.close();
    sway_ = std::make_unique<kestrix::test::ChildProcess>(
        command({"WLR_BACKENDS=headless", "WLR_LIBINPUT_NO_DEVICES=1", "WLR_RENDERER=pixman"},
                {"/usr/bin/sway", "-c", runtimeFolder_ + "/sway.conf"}));
    const bool started = waitUntil(30.0, [&] {
        for (const auto& entry : fs::directory_iterator(runtimeFolder_)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("wayland-") && !name.ends_with(".lock")) display_ = name;
        }
        return !display_.empty() && !ipcSocket().empty();
    });
    if (!started) problem_ = "sway did not start headless (it needs wlroots' headless backend and pixman renderer)";
}

SwayDesktop::~SwayDesktop() {
    sway_.reset();
    if (!runtimeFolder_.empty()) fs::remove_all(runtimeFolder_);
}

std::vector<std::string> SwayDesktop::command(const std::vector<std::string>& variables,
                                              const std::vector<std::string>& words) const {
    std::vector<std::string> line{"/usr/bin/setpriv",
                                  "--reuid=" + std::to_string(user_.uid),
                                  "--regid=" + std::to_string(user_.gid),
                                  "--init-groups",
                                  "/usr/bin/env",
                                  "-i",
                                  "PATH=/usr/local/bin:/usr/bin:/bin",
                                  "HOME=" + user_.home,
                                  "XDG_RUNTIME_DIR=" + runtimeFolder_,
                                  "DBUS_SESSION_BUS_ADDRESS=" + busAddress_,
                                  // No accessibility bus to look for.
                                  "NO_AT_BRIDGE=1"};
    if (!display_.empty()) line.push_back("WAYLAND_DISPLAY=" + display_);
    line.insert(line.end(), variables.begin(), variables.end());
    line.insert(line.end(), words.begin(), words.end());
    return line;
}

std::string SwayDesktop::ipcSocket() const {
    if (runtimeFolder_.empty()) return {};
    for (const auto& entry : fs::directory_iterator(runtimeFolder_)) {
        if (entry.path().filename().string().starts_with("sway-ipc.")) return entry.path().string();
    }
    return {};
}

std::string SwayDesktop::tree() const {
    return kestrix::test::commandOutput("/usr/bin/swaymsg -r -s " + quoted(ipcSocket()) + " -t get_tree");
}

int SwayDesktop::windowsOf(pid_t pid) const {
    const nlohmann::json parsed = nlohmann::json::parse(tree(), nullptr, false);
    return parsed.is_discarded() ? 0 : viewsOf(parsed, pid);
}

std::vector<SwayWindow> SwayDesktop::shownWindowsOf(pid_t pid) const {
    std::vector<SwayWindow> shown;
    const nlohmann::json parsed = nlohmann::json::parse(tree(), nullptr, false);
    if (parsed.is_discarded()) return shown;
    visitSwayNodes(parsed, [&](const nlohmann::json& node) {
        const std::string type = node.value("type", "");
        if (node.value("pid", -1) != pid || (type != "con" && type != "floating_con")) return;
        shown.push_back({node.value("id", 0LL), node.value("name", ""), swayAreaOf(node)});
    });
    return shown;
}

std::optional<SwayArea> SwayDesktop::workArea() const {
    std::optional<SwayArea> found;
    const nlohmann::json parsed = nlohmann::json::parse(tree(), nullptr, false);
    if (parsed.is_discarded()) return found;
    visitSwayNodes(parsed, [&](const nlohmann::json& node) {
        // The scratchpad is a workspace of sway's own, on no real output.
        if (!found && node.value("type", "") == "workspace" && node.value("name", "") != "__i3_scratch") {
            found = swayAreaOf(node);
        }
    });
    return found;
}

bool SwayDesktop::runAsUser(const std::vector<std::string>& words) const {
    std::string line;
    for (const std::string& word : command({}, words)) line += quoted(word) + " ";
    return kestrix::test::runQuietly(line);
}

bool SwayDesktop::type(const std::string& text) const { return runAsUser({"/usr/bin/wtype", text}); }

bool SwayDesktop::focus(const std::string& title) const {
    return runAsUser({"/usr/bin/swaymsg", "-s", ipcSocket(), "[title=\"" + title + "\"] focus"});
}

bool SwayDesktop::press(const std::vector<std::string>& keys) const {
    // A Qt app takes a keyboard that appears only once it has bound it: keys sent at once are lost.
    std::vector<std::string> words{"/usr/bin/wtype", "-s", "1500"};
    for (const std::string& key : keys) words.insert(words.end(), {"-k", key, "-s", "200"});
    return runAsUser(words);
}

bool SwayDesktop::takePicture(const std::string& path) const { return runAsUser({"/usr/bin/grim", path}); }

}  // namespace kestrix::desktop::test
