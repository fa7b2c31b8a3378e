#include "KestrixApp/Shell/ShellOptions.h"

#include "KestrixApp/Shell/QtOptions.h"

namespace kestrix::shell {

const char* const shellUsage = R"(usage: kestrix [--world FILE | --demo] [--history FILE] [--trace] [LINK...]
       kestrix (--demo | --world FILE) --screenshot FOLDER
       kestrix --action eject-all
       kestrix --action eject NAME

Kestrix names what keeps a drive from ejecting, and ejects it.

  LINK                 a kestrix: link, such as kestrix://eject?drive=NAME; a running Kestrix
                       handles it, and with no link shows its window
  --action eject-all   eject every drive in the running Kestrix and print the result
  --action eject NAME  eject the drive named NAME in the running Kestrix and print the result
  --world FILE         run on the simulated system described by FILE
  --demo               run on the built-in demonstration system
  --history FILE       keep the eject history in FILE
  --trace              print every call made to the system on stderr
  --background         start in the tray without opening a window
  --screenshot FOLDER  draw the panel, the main window and the settings, welcome and help
                       windows of the demo (with every state of a drive card) or of the world
                       into PNG files in FOLDER, without a display, and end
  --version            print the version
  --help               show this text

Qt's standard options work too, such as -style Fusion, -platform xcb, -reverse and
-stylesheet FILE.

Exit status of --action, and of an eject link typed in a terminal while Kestrix runs: 0 every
drive asked for was ejected, 1 no drive has that name or no Kestrix answered, 2 bad arguments,
3 a drive asked for was not ejected.
)";

std::variant<ShellOptions, ShellOptionsError> parseShellOptions(const std::vector<std::string>& arguments) {
    ShellOptions options;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& word = arguments[index];
        const auto value = [&]() -> std::optional<std::string> {
            if (index + 1 >= arguments.size()) return std::nullopt;
            return arguments[++index];
        };
        if (optionsEnded || word.empty() || word[0] != '-') {
            options.links.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (word == "--world") {
            options.worldPath = value();
            if (!options.worldPath) return ShellOptionsError{"--world needs a file"};
        } else if (word == "--history") {
            options.historyPath = value();
            if (!options.historyPath) return ShellOptionsError{"--history needs a file"};
        } else if (word == "--screenshot") {
            options.screenshotFolder = value();
            if (!options.screenshotFolder) return ShellOptionsError{"--screenshot needs a folder"};
        } else if (word == "--demo") {
            options.demo = true;
        } else if (word == "--trace") {
            options.trace = true;
        } else if (word == "--background") {
            options.background = true;
        } else if (word == "--version") {
            options.version = true;
        } else if (word == "--help") {
            options.help = true;
        } else if (const std::size_t words = qtOptionWords(word); words > 0) {
            // The toolkit's own (-style Fusion, -platform xcb, -reverse): it reads them itself.
            if (words == 2 && !value()) return ShellOptionsError{word + " needs a value"};
        } else if (word == "--action") {
            const auto name = value();
            if (name == "eject-all") {
                options.action = ShellAction{ShellAction::Kind::ejectAll, {}};
            } else if (name == "eject") {
                const auto drive = value();
                if (!drive) return ShellOptionsError{"--action eject needs a drive name"};
                options.action = ShellAction{ShellAction::Kind::eject, *drive};
            } else {
                return ShellOptionsError{"--action takes eject-all or eject NAME"};
            }
        } else {
            return ShellOptionsError{"unknown option " + word};
        }
    }
    if (options.demo && options.worldPath) return ShellOptionsError{"--world and --demo exclude each other"};
    if (options.screenshotFolder && !options.isSimulated())
        return ShellOptionsError{"--screenshot draws a simulated system: add --demo or --world FILE"};
    if (options.action && !options.links.empty()) return ShellOptionsError{"--action takes no links"};
    return options;
}

}  // namespace kestrix::shell
