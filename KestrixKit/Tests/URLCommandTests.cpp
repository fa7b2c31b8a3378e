#include <gtest/gtest.h>

#include "KestrixKit/Automation/URLCommand.h"

namespace {

using kestrix::URLCommand;

std::optional<URLCommand> eject(std::string drive) { return URLCommand{URLCommand::Eject{std::move(drive)}}; }
std::optional<URLCommand> check(std::string drive) { return URLCommand{URLCommand::Check{std::move(drive)}}; }
const std::optional<URLCommand> ejectAll = URLCommand{URLCommand::EjectAll{}};
const std::optional<URLCommand> open = URLCommand{URLCommand::Open{}};
const std::optional<URLCommand> none;

struct Case {
    const char* link;
    std::optional<URLCommand> expected;
};

void expectCommands(const std::vector<Case>& cases) {
    for (const auto& [link, expected] : cases) EXPECT_EQ(URLCommand::parse(link), expected) << link;
}

TEST(URLCommand, NamesTheDriveFromTheFirstNameItem) {
    expectCommands({
        {"kestrix://eject?drive=Travel%20SSD", eject("Travel SSD")},
        {"KESTRIX://EJECT?DRIVE=Travel%20SSD", eject("Travel SSD")},
        {"kestrix://check?drive=Travel%20SSD", check("Travel SSD")},
        {"kestrix://eject?volume=Backup", eject("Backup")},
        {"kestrix://eject?name=Backup", eject("Backup")},
        {"kestrix://eject?other=1&name=%20%0ABackup%09", eject("Backup")},
        {"kestrix://eject?drive=Caf%C3%A9+Fotos", eject("Café+Fotos")},
        // Typed by hand, with a space the link may not carry.
        {"kestrix://eject?drive=Travel SSD", eject("Travel SSD")},
        {"kestrix://eject?drive=100%", eject("100%")},
    });
}

TEST(URLCommand, EjectsEverythingOnlyWhenNoDriveIsNamed) {
    expectCommands({
        {"kestrix://eject", ejectAll},
        {"kestrix://eject?drive=%20", ejectAll},
        {"kestrix://eject?drive&name=Backup", ejectAll},
        {"kestrix://eject_all?drive=X", ejectAll},
        {"kestrix://eject-all", ejectAll},
        {"kestrix:eject-all", ejectAll},
        {"kestrix:///ejectall/", ejectAll},
        // The command word is decoded like every other part of the link.
        {"kestrix://eject%2Dall", ejectAll},
        {"kestrix:eject%2dall", ejectAll},
        {"kestrix://%65ject?drive=Backup", eject("Backup")},
        // Bytes that are not text still name one drive, which matches none.
        {"kestrix://eject?drive=%FF", eject("\xEF\xBF\xBD")},
    });
}

TEST(URLCommand, OpensOrIgnores) {
    expectCommands({
        {"kestrix://", open},
        {"kestrix:", open},
        {"kestrix://open", open},
        {"kestrix://show", open},
        {"kestrix://check", none},
        {"kestrix://check?drive=", none},
        {"kestrix://status", none},
        // Decoding never joins the query to the word.
        {"kestrix://eject%3Fdrive%3DBackup", none},
        {"other://eject-all", none},
        {"eject-all", none},
        {"", none},
    });
}

}  // namespace
