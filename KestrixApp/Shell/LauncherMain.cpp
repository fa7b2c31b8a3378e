// `kestrix`, the command users, scripts and the desktop run. It loads no GUI toolkit, so that
// `--action` and a link handed to the running app cost about what a bus call costs; when it is
// to be the app itself, it becomes kestrix-app (beside it, or in the folder of helper programs).

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

#include <unistd.h>

#include "KestrixApp/Shell/HandOver.h"
#include "KestrixKit/Linux/Text/Translations.h"

namespace {

using namespace kestrix;
using namespace kestrix::shell;

std::filesystem::path appProgram() {
    std::error_code error;
    const auto folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    if (std::filesystem::exists(folder / "kestrix-app", error)) return folder / "kestrix-app";
    return (folder / KESTRIX_APP_FROM_LAUNCHER / "kestrix-app").lexically_normal();
}

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = parseShellOptions({argv + 1, argv + argc});
    if (const auto* error = std::get_if<ShellOptionsError>(&parsed)) {
        std::cerr << "kestrix: " << error->message << "\n" << shellUsage;
        return static_cast<int>(ActionStatus::badArguments);
    }
    const auto& options = std::get<ShellOptions>(parsed);
    if (options.help) {
        std::cout << shellUsage;
        return 0;
    }
    if (options.version) {
        std::cout << "kestrix " << KESTRIX_VERSION << '\n';
        return 0;
    }
    if (!options.screenshotFolder) {
        Translations::use(Translations::folder());
        if (const auto status = talkToRunningApp(options)) exitWith(*status);
    }
    const std::string app = appProgram().string();
    ::execv(app.c_str(), argv);
    std::cerr << "kestrix: " << app << ": " << std::strerror(errno) << '\n';
    return 1;
}
