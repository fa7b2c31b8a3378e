#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QToolButton>
#include <gtest/gtest.h>

#include "KestrixApp/Model/Tests/ModelHarness.h"
#include "KestrixApp/Views/Settings/HistoryPathText.h"
#include "KestrixApp/Views/Settings/LinkRow.h"
#include "KestrixApp/Views/Settings/SettingsView.h"

namespace {

using namespace kestrix;
using namespace kestrix::views;
using kestrix::testing::ModelHarness;

QCheckBox* toggleLabelled(QWidget& view, const QString& start) {
    for (QCheckBox* toggle : view.findChildren<QCheckBox*>()) {
        if (toggle->text().startsWith(start)) return toggle;
    }
    return nullptr;
}

QString settingsFile(const ModelHarness& harness) {
    QFile file(harness.path("settings.ini"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(SettingsView, TogglesReachTheModelAndAreWrittenAtOnce) {
    ModelHarness harness;
    harness.start(nlohmann::json::object());
    AppModel& model = *harness.model;
    int hotkeyChanges = 0;
    model.setOnHotkeyChange([&] { ++hotkeyChanges; });
    SettingsView view(model, {});

    toggleLabelled(view, "Show disk images")->click();
    toggleLabelled(view, "Show network shares")->click();
    toggleLabelled(view, "Eject All with")->click();
    EXPECT_TRUE(model.showDiskImages());
    EXPECT_TRUE(model.showNetworkShares());
    EXPECT_FALSE(model.hotkeyEnabled());
    EXPECT_EQ(hotkeyChanges, 1);
    const QString written = settingsFile(harness);
    EXPECT_TRUE(written.contains("showDiskImages=true")) << written.toStdString();
    EXPECT_TRUE(written.contains("showNetworkShares=true")) << written.toStdString();
    EXPECT_TRUE(written.contains("hotkeyEnabled=false")) << written.toStdString();

    // The model's own changes show in the toggles too.
    model.setShowDiskImages(false);
    EXPECT_FALSE(toggleLabelled(view, "Show disk images")->isChecked());
}

TEST(SettingsView, LaunchAtLoginShowsWhatTheLoginItemReallyDid) {
    ModelHarness harness;
    harness.start(nlohmann::json::object());
    SettingsView view(*harness.model, {});
    QCheckBox* login = toggleLabelled(view, "Open Kestrix when you log in");
    ASSERT_NE(login, nullptr);

    login->click();
    EXPECT_TRUE(harness.loginItem->enabled);
    EXPECT_TRUE(login->isChecked());

    harness.loginItem->failure = "the autostart folder is read-only";
    login->click();
    EXPECT_TRUE(harness.loginItem->enabled);
    EXPECT_TRUE(login->isChecked()) << "still starts at login, so the toggle says so";
}

TEST(SettingsView, TheChosenTabIsTheModelsSettingsTab) {
    ModelHarness harness;
    harness.start(nlohmann::json::object());
    AppModel& model = *harness.model;
    model.setSettingsTab("privacy");
    SettingsView view(model, {.moreAppsList = [] { return new QLabel("the list"); }});
    EXPECT_EQ(view.count(), 4);
    EXPECT_EQ(view.currentIndex(), 2);

    view.setCurrentIndex(3);
    EXPECT_EQ(model.settingsTab(), "more");
    EXPECT_TRUE(settingsFile(harness).contains("settingsTab=more"));
    EXPECT_EQ(qobject_cast<QLabel*>(view.widget(3))->text(), "the list");
    model.setSettingsTab("automation");
    EXPECT_EQ(view.currentIndex(), 1);
}

TEST(SettingsView, WithoutADesktopHotkeyTheTabSaysHowToBindTheCommand) {
    ModelHarness harness;
    harness.start(nlohmann::json::object());
    SettingsView withHotkey(*harness.model, {.hotkeyAvailable = true});
    SettingsView without(*harness.model, {.hotkeyAvailable = false});
    const auto mentionsCommand = [](QWidget& view) {
        for (QLabel* label : view.findChildren<QLabel*>()) {
            if (label->text().contains("kestrix --action eject-all")) return true;
        }
        return false;
    };
    EXPECT_FALSE(mentionsCommand(withHotkey));
    EXPECT_TRUE(toggleLabelled(withHotkey, "Eject All with")->isEnabled());
    EXPECT_TRUE(mentionsCommand(without));
    EXPECT_FALSE(toggleLabelled(without, "Eject All with")->isEnabled());
}

TEST(LinkRow, CopyPutsExactlyTheLinkOnTheClipboardInPlaceOfWhatWasThere) {
    ModelHarness harness;
    harness.start(nlohmann::json::object());
    SettingsView view(*harness.model, {});
    auto* earlier = new QMimeData;
    earlier->setHtml("<b>notes</b>");
    earlier->setText("notes");
    QApplication::clipboard()->setMimeData(earlier);

    const QList<LinkRow*> rows = view.findChildren<LinkRow*>();
    ASSERT_EQ(rows.size(), 3);
    rows[1]->findChild<QToolButton*>("copy")->click();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), "kestrix://eject?drive=Travel%20SSD");
    EXPECT_FALSE(copied->hasHtml()) << "nothing of the earlier contents stays";
    EXPECT_EQ(rows[1]->findChild<QToolButton*>("copy")->accessibleName(), "Copy kestrix://eject?drive=Travel%20SSD");
}

TEST(PrivacyTab, NamesWhereTheHistoryReallyIs) {
    const auto environment = [](std::map<std::string, std::string> values) -> EnvironmentLookup {
        return [values](const std::string& name) -> std::optional<std::string> {
            const auto found = values.find(name);
            return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
        };
    };
    EXPECT_EQ(shownHistoryPath(Vocabulary::linuxSystem, environment({{"HOME", "/home/ann"}})),
              "~/.local/share/com.orvane.kestrix/history.json");
    EXPECT_EQ(shownHistoryPath(Vocabulary::linuxSystem, environment({{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "/data"}})),
              "/data/com.orvane.kestrix/history.json");
    EXPECT_EQ(shownHistoryPath(Vocabulary::linuxSystem, environment({{"HOME", "/home/ann"},
                                                                     {"XDG_DATA_HOME", "/home/annex/share"}})),
              "/home/annex/share/com.orvane.kestrix/history.json");
    EXPECT_EQ(shownHistoryPath(Vocabulary::document, environment({{"HOME", "/home/ann"}})),
              "~/Library/Application Support/com.orvane.kestrix/history.json");
}

}  // namespace
