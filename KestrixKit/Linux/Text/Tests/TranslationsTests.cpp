#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Linux/Text/Translations.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Text/Vocabulary.h"

// gettext's own signal that the language changed while the program runs: its cached lookups
// are keyed by the locale, not by LANGUAGE.
extern "C" int _nl_msg_cat_cntr;

using namespace kestrix;

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value, 1);
        ++_nl_msg_cat_cntr;
    }
    ~ScopedEnvironment() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
        ++_nl_msg_cat_cntr;
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class TranslationsTest : public ::testing::Test {
protected:
    void SetUp() override { Translations::use(Translations::folder()); }
    void TearDown() override { selectVocabulary(Vocabulary::document); }
};

}  // namespace

TEST_F(TranslationsTest, LanguageListPicksSpanishAndKeepsThePlaceholdersValues) {
    const ScopedEnvironment language("LANGUAGE", "fr:es");
    EXPECT_EQ(localized("Eject All"), "Expulsar todo");
    // The Spanish sentence puts the values in its own order.
    EXPECT_EQ(localizedFormat("%1 is in use by %2.", {"Fotos 2024", "Lightroom"}), "Lightroom está usando Fotos 2024.");
    EXPECT_EQ(localized("A text no catalogue has"), "A text no catalogue has");
    EXPECT_EQ(localized(""), "");
}

TEST_F(TranslationsTest, TheLinuxWordingIsWhatGetsTranslated) {
    const ScopedEnvironment language("LANGUAGE", "es");
    EXPECT_EQ(localized("Spotlight"), "Spotlight");
    selectVocabulary(Vocabulary::linuxSystem);
    EXPECT_EQ(localized("Spotlight"), "Indexador de búsqueda");
}

TEST_F(TranslationsTest, EnglishWhenNoCatalogueSpeaksTheLanguage) {
    const ScopedEnvironment language("LANGUAGE", "fr:de");
    EXPECT_EQ(localized("Eject All"), "Eject All");
    EXPECT_EQ(Translations::language(), "");
}

TEST_F(TranslationsTest, TellsWhichCatalogueAnswers) {
    const ScopedEnvironment language("LANGUAGE", "fr:es_MX:en");
    EXPECT_EQ(Translations::language(), "es");
    EXPECT_EQ(Translations::headerLanguage("Project-Id-Version: Kestrix\nLanguage:  pt_BR \nMIME-Version: 1.0\n"), "pt_BR");
    EXPECT_EQ(Translations::headerLanguage("Language-Team: none\n"), "");
    EXPECT_EQ(Translations::headerLanguage("Language:"), "");
}

TEST(TranslationsFolderTest, PrefersTheCataloguesBesideTheInstalledProgram) {
    const auto root = std::filesystem::temp_directory_path() / "kestrix-translations-folder";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "bin");
    std::filesystem::create_directories(root / "share/locale/de/LC_MESSAGES");
    EXPECT_EQ(Translations::folder(root / "bin/kestrix"), std::filesystem::path(KESTRIX_BUILD_LOCALE_DIR))
        << "a locale folder without this program's catalogues is not the one";
    std::ofstream(root / "share/locale/de/LC_MESSAGES/kestrix.mo") << "";
    EXPECT_EQ(Translations::folder(root / "bin/kestrix"), root / "share/locale");
    EXPECT_EQ(Translations::folder(""), std::filesystem::path(KESTRIX_BUILD_LOCALE_DIR));
    std::filesystem::remove_all(root);
}

TEST_F(TranslationsTest, CountedSentencesTakeTheLanguagesFormAndContextsTellOneWordApart) {
    {
        const ScopedEnvironment language("LANGUAGE", "es");
        EXPECT_EQ(localizedPlural("Blocked %1 time", "Blocked %1 times", 1, {"1"}), "Bloqueó 1 vez");
        EXPECT_EQ(localizedPlural("Blocked %1 time", "Blocked %1 times", 3, {"3"}), "Bloqueó 3 veces");
        EXPECT_EQ(localized("Ready"), "Lista");
        EXPECT_EQ(localizedIn("drive count", "Ready"), "Listas");
    }
    const ScopedEnvironment language("LANGUAGE", "fr");
    EXPECT_EQ(localizedPlural("Blocked %1 time", "Blocked %1 times", 1, {"1"}), "Blocked 1 time");
    EXPECT_EQ(localizedPlural("Blocked %1 time", "Blocked %1 times", 0, {"0"}), "Blocked 0 times");
    EXPECT_EQ(localizedIn("drive count", "Ready"), "Ready") << "English keeps the word, not the context";
}

TEST_F(TranslationsTest, EveryTextWithoutATranslationIsHeard) {
    const ScopedEnvironment language("LANGUAGE", "es");
    std::vector<std::string> missed;
    listenForMissedTranslations([&](std::string_view english) { missed.emplace_back(english); });
    localized("Eject All");
    localized("A text no catalogue has");
    localizedFormat("Nor this %1", {"one"});
    localizedPlural("One missing thing", "%1 missing things", 2, {"2"});
    localizedIn("nowhere", "Eject All");
    localized("");
    listenForMissedTranslations({});
    localized("Not heard any more");
    EXPECT_EQ(missed, (std::vector<std::string>{"A text no catalogue has", "Nor this %1", "One missing thing",
                                                std::string("nowhere\x04") + "Eject All"}));
}
