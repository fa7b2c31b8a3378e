#include <gtest/gtest.h>

#include <QLabel>
#include <QLayout>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <memory>
#include <thread>

#include "KestrixApp/Views/MoreApps/MoreAppsListView.h"
#include "KestrixApp/Views/MoreApps/MoreAppsLook.h"
#include "KestrixApp/Views/MoreApps/MoreAppsRow.h"
#include "MoreAppsKit/Linux/LocalFileStore.h"
#include "MoreAppsKit/MoreAppsLanguage.h"

using namespace kestrix::views;
using moreapps::MoreAppsRequest;
using moreapps::MoreAppsResponse;
using moreapps::MoreAppsTransportResult;

namespace {

constexpr const char* feedURL = "https://orvane.com/linux/more-apps.json";

// Kestrix itself, a Flathub app with only a Spanish detail and a French name, an app on the
// maker's site with a symbol no theme knows.
const std::string builtInFeed = R"({"schema":1,"apps":[
  {"id":"kestrix","name":"Kestrix","detail":"Ejects.","symbol":"eject.circle","tint":"teal",
   "url":"https://orvane.com/kestrix"},
  {"id":"plover","name":"Plover","detail":"Remembers what you copied.","symbol":"doc.on.clipboard",
   "tint":"indigo","url":"https://flathub.org/apps/com.orvane.Plover",
   "localized":{"es":{"detail":"Recuerda lo que copiaste."},"fr":{"name":"Pluvier"}}},
  {"id":"wren","name":"Wren","detail":"Finds what grew.","symbol":"sparkles.unheard.of","tint":"blue",
   "url":"https://orvane.com/wren"}]})";

const std::string networkFeed = R"({"schema":1,"apps":[
  {"id":"tern","name":"Tern","detail":"Renames files.","symbol":"pencil","tint":"orange",
   "url":"https://orvane.gumroad.com/l/tern"}]})";

class MoreAppsListViewTest : public ::testing::Test {
protected:
    std::unique_ptr<MoreAppsListView> view(const std::string& language, bool allowsNetwork = true) {
        moreapps::MoreAppsLoader loader{
            .feedURL = feedURL,
            .cacheDirectory = cache_.filePath("MoreApps").toStdString(),
            .bundled = [] { return std::optional<std::string>(builtInFeed); },
            .now = [] { return moreapps::dateFromSecondsSinceReferenceDate(750000000); },
            .transport = [this](const MoreAppsRequest&) -> MoreAppsTransportResult {
                ++requests_;
                std::this_thread::sleep_for(answerDelay_);
                return MoreAppsResponse{.url = feedURL, .status = 200, .headers = {}, .body = networkFeed};
            },
            .files = std::make_shared<moreapps::LocalFileStore>()};
        return std::make_unique<MoreAppsListView>(
            moreapps::MoreAppsConfig{.thisApp = "kestrix", .utmSource = "kestrix", .isDirect = true,
                                     .bundleID = "com.orvane.Kestrix", .allowsNetwork = allowsNetwork},
            std::move(loader), language, [this](const QUrl& url) { opened_.push_back(url.toString()); });
    }

    static QList<MoreAppsRow*> entries(const MoreAppsListView& view) {
        return view.findChildren<MoreAppsRow*>("entry");
    }
    static QString text(const QWidget& widget, const char* name) {
        const auto* label = widget.findChild<QLabel*>(name);
        return label ? label->text() : QString();
    }

    QTemporaryDir cache_;
    std::atomic<int> requests_ = 0;
    std::chrono::milliseconds answerDelay_{0};
    std::vector<QString> opened_;
};

}  // namespace

TEST_F(MoreAppsListViewTest, ShowsTheVisibleEntriesWithTheirLook) {
    const auto list = view("en");
    EXPECT_EQ(text(*list, "title"), "More Linux Apps");
    EXPECT_EQ(text(*list, "footer"), "Flathub apps open on Flathub; the others open on orvane.com.");

    const auto rows = entries(*list);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(text(*rows[0], "title"), "Plover");
    EXPECT_EQ(text(*rows[0], "subtitle"), "Remembers what you copied.");
    EXPECT_EQ(rows[0]->toolTip(), "Opens Plover on Flathub");
    EXPECT_EQ(MoreAppsLook::iconName(rows[0]->look().symbol), "edit-paste-symbolic");
    EXPECT_EQ(rows[0]->look().tint, QColor(0x5856D6));
    EXPECT_EQ(rows[1]->toolTip(), "Opens Wren on orvane.com");
    EXPECT_EQ(MoreAppsLook::iconName(rows[1]->look().symbol), "application-x-executable-symbolic");
    EXPECT_EQ(text(*list->findChild<MoreAppsRow*>("seeAll"), "title"), "See all Linux apps on orvane.com");
}

TEST(MoreAppsLookTest, UnknownSymbolsAndTintsFallBack) {
    EXPECT_EQ(MoreAppsLook::iconName("app.fill"), "application-x-executable-symbolic");
    EXPECT_EQ(MoreAppsLook::iconName(""), "application-x-executable-symbolic");
    EXPECT_EQ(MoreAppsLook::iconName("internaldrive"), "drive-harddisk-symbolic");
    const QColor blue = MoreAppsLook::tintColour("blue");
    EXPECT_EQ(MoreAppsLook::tintColour("chartreuse"), blue);
    EXPECT_EQ(MoreAppsLook::tintColour("Red"), blue);
    EXPECT_NE(MoreAppsLook::tintColour("gray"), blue);
    const QPixmap badge = MoreAppsLook::badge("no.such.symbol", blue, 36, 2);
    EXPECT_EQ(badge.deviceIndependentSize(), QSizeF(36, 36));
}

TEST_F(MoreAppsListViewTest, SpeaksSpanishWithTheEntriesSpanishTexts) {
    const auto list = view(moreapps::MoreAppsLanguage::choose({"fr-FR", "es-MX", "en-US"}));
    EXPECT_EQ(text(*list, "title"), "Más apps para Linux");
    const auto rows = entries(*list);
    ASSERT_EQ(rows.size(), 2u);
    // Only the detail is translated; the name stays.
    EXPECT_EQ(text(*rows[0], "title"), "Plover");
    EXPECT_EQ(text(*rows[0], "subtitle"), "Recuerda lo que copiaste.");
    EXPECT_EQ(rows[0]->toolTip(), "Abre Plover en Flathub");
    EXPECT_EQ(text(*rows[1], "subtitle"), "Finds what grew.");
}

TEST_F(MoreAppsListViewTest, AFrenchFirstUserWithoutSpanishGetsEnglishNotTheFrenchTexts) {
    const auto list = view(moreapps::MoreAppsLanguage::choose({"fr-FR", "fr", "de"}));
    EXPECT_EQ(text(*list, "title"), "More Linux Apps");
    EXPECT_EQ(text(*entries(*list)[0], "title"), "Plover");
}

TEST_F(MoreAppsListViewTest, RowsOpenTheirLinksWithTheCampaign) {
    const auto list = view("en");
    const auto rows = entries(*list);
    ASSERT_EQ(rows.size(), 2u);
    rows[0]->click();
    rows[1]->click();
    list->findChild<MoreAppsRow*>("seeAll")->click();
    EXPECT_EQ(opened_, (std::vector<QString>{
                           "https://flathub.org/apps/com.orvane.Plover",
                           "https://orvane.com/wren?utm_source=kestrix&utm_medium=linux-app&utm_campaign=more-apps",
                           "https://orvane.com/linux?utm_source=kestrix&utm_medium=linux-app&utm_campaign=more-apps"
                           "&utm_content=all"}));
}

TEST_F(MoreAppsListViewTest, RefreshesOnceWhenFirstShownAndOnlyWhereTheNetworkIsAllowed) {
    const auto offline = view("en", false);
    QSignalSpy offlineDone(offline.get(), &MoreAppsListView::refreshFinished);
    offline->show();
    ASSERT_TRUE(offlineDone.wait(5000));
    EXPECT_EQ(requests_, 0);

    const auto list = view("en");
    EXPECT_EQ(requests_, 0) << "nothing is fetched before the list is on screen";
    QSignalSpy done(list.get(), &MoreAppsListView::refreshFinished);
    list->show();
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(list->list().source(), moreapps::MoreAppsSource::network);
    const auto rows = entries(*list);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(text(*rows[0], "title"), "Tern");
    EXPECT_EQ(rows[0]->toolTip(), "Opens Tern in your browser");

    list->hide();
    list->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(done.wait(300));
    EXPECT_EQ(requests_, 1);
}

TEST_F(MoreAppsListViewTest, ClosingDuringARefreshWaitsForItQuietly) {
    answerDelay_ = std::chrono::milliseconds(200);
    auto list = view("en");
    list->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return requests_ == 1; }, 5000));
    list.reset();
    QCoreApplication::processEvents();
    SUCCEED();
}

TEST_F(MoreAppsListViewTest, SitsOnTheTabsOwnBackgroundWithTheOtherTabsMargins) {
    const auto list = view("en");
    auto* scroll = list->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_FALSE(scroll->viewport()->autoFillBackground()) << "no base colour of its own inside the tab";
    EXPECT_FALSE(scroll->widget()->autoFillBackground());
    EXPECT_EQ(scroll->widget()->layout()->contentsMargins(), QMargins(20, 20, 20, 20));
}
