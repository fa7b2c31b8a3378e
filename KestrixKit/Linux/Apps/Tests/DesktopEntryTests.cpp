#include <gtest/gtest.h>

#include "KestrixKit/Linux/Apps/DesktopEntry.h"
#include "KestrixKit/Linux/Apps/MessageLocales.h"

using namespace kestrix;

namespace {

const std::vector<std::string> noLocales;

std::optional<std::string> nameIn(const std::string& text, const std::vector<std::string>& locales = noLocales) {
    const auto entry = parseDesktopEntry(text, locales);
    return entry ? std::optional<std::string>(entry->name) : std::nullopt;
}

}  // namespace

TEST(DesktopEntry, ReadsOnlyTheFirstDesktopEntryGroup) {
    const std::string viewer = "# Holiday Viewer\n"
                               "Name=Before any group\n"
                               "[Desktop Action new-window]\n"
                               "Name=New Window\n"
                               "Exec=holiday-viewer --new-window\n"
                               "\n"
                               "[Desktop Entry]\r\n"
                               "  # indented comment\n"
                               "Type=Application\n"
                               "Name = Holiday Viewer\n"
                               "Name=Second Name\n"
                               "Exec=holiday-viewer %U\n"
                               "[Desktop Entry]\n"
                               "NoDisplay=true\n";
    EXPECT_EQ(parseDesktopEntry(viewer, noLocales),
              (DesktopEntry{.name = "Holiday Viewer", .program = "holiday-viewer", .noDisplay = false}));
    EXPECT_EQ(nameIn("[Desktop Action x]\nName=Action\n"), std::nullopt);
    EXPECT_EQ(nameIn("[Desktop Entry]\nType=Link\nName=A link\n"), std::nullopt);
    EXPECT_EQ(nameIn("[Desktop Entry]\nGenericName=Viewer\n"), std::nullopt);
    EXPECT_EQ(nameIn("[Desktop Entry]\nName=\n"), std::nullopt);
    EXPECT_EQ(nameIn(""), std::nullopt);
    EXPECT_EQ(nameIn("[Desktop Entry\nName=Broken header\n"), std::nullopt);
}

TEST(DesktopEntry, ResolvesEscapesAndReadsNoDisplay) {
    const auto entry = parseDesktopEntry("[Desktop Entry]\nName=\\sTwo\\tWords\\nand\\\\more\\q\\\n"
                                         "NoDisplay=true\nExec=\"/opt/My Viewer/viewer\" %f\n",
                                         noLocales);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, " Two\tWords\nand\\more\\q\\");
    EXPECT_TRUE(entry->noDisplay);
    EXPECT_EQ(entry->program, "/opt/My Viewer/viewer");
    EXPECT_FALSE(parseDesktopEntry("[Desktop Entry]\nName=X\nNoDisplay=True\n", noLocales)->noDisplay);
    EXPECT_EQ(parseDesktopEntry("[Desktop Entry]\nName=X\n", noLocales)->program, std::nullopt);
}

TEST(DesktopEntry, TakesTheNameOfTheFirstPreferredLocale) {
    const std::string entry = "[Desktop Entry]\nName=Holiday Viewer\nName[de]=Urlaubsbetrachter\n"
                              "Name[de_CH]=Ferienbetrachter\nName[sr@latin]=Pregledač\nName[fr]=\n";
    const struct {
        MessageLocaleSettings settings;
        std::vector<std::string> locales;
        std::string name;
    } cases[] = {
        {{.lang = "de_CH.UTF-8"}, {"de_CH", "de"}, "Ferienbetrachter"},
        {{.lang = "de_AT.UTF-8"}, {"de_AT", "de"}, "Urlaubsbetrachter"},
        {{.messages = "sr_RS.UTF-8@latin", .lang = "en_US.UTF-8"},
         {"sr_RS@latin", "sr_RS", "sr@latin", "sr"},
         "Pregledač"},
        {{.all = "de_DE.UTF-8", .messages = "sr_RS@latin"}, {"de_DE", "de"}, "Urlaubsbetrachter"},
        {{.language = "fr:de_CH", .lang = "en_GB.UTF-8"}, {"fr", "de_CH", "de", "en_GB", "en"}, "Ferienbetrachter"},
        {{.language = "de", .lang = "C.UTF-8"}, {}, "Holiday Viewer"},
        {{.lang = "POSIX"}, {}, "Holiday Viewer"},
        {{}, {}, "Holiday Viewer"},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.name);
        const std::vector<std::string> locales = preferredLocales(example.settings);
        EXPECT_EQ(locales, example.locales);
        EXPECT_EQ(nameIn(entry, locales), example.name);
    }
}

TEST(DesktopEntry, FindsTheProgramAnExecLineStarts) {
    const struct {
        std::string exec;
        std::optional<std::string> program;
    } cases[] = {
        {"eog %U", "eog"},
        {"  /usr/bin/holiday-viewer --fullscreen", "/usr/bin/holiday-viewer"},
        {R"("/opt/A \"quoted\" \$dir/viewer" %F)", R"(/opt/A "quoted" $dir/viewer)"},
        {"env GDK_BACKEND=x11 -u LANG viewer %f", "viewer"},
        {"/usr/bin/env", std::nullopt},
        {"/usr/bin/flatpak run --branch=stable --command=holiday-viewer org.kestrix.HolidayViewer", "holiday-viewer"},
        {"flatpak run org.kestrix.HolidayViewer", "flatpak"},
        {"\"\" viewer", std::nullopt},
        {"\"unterminated", "unterminated"},
        {"", std::nullopt},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.exec);
        EXPECT_EQ(execProgram(execArguments(example.exec)), example.program);
    }
}
