#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QUrl>

#include "KestrixApp/Model/Tests/ModelHarness.h"
#include "KestrixApp/TestSupport/PrivateSessionBus.h"
#include "KestrixApp/Views/Cards/FileReveal.h"

using kestrix::desktop::test::PrivateSessionBus;
using kestrix::testing::ModelHarness;

namespace {

// The desktop's file manager service, as much of it as revealing a file needs.
class FileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;
public slots:
    void ShowItems(const QStringList& uris, const QString& /*startupId*/) { shown << uris; }
};

// Where the fallback sends the user.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.push_back(url); }
};

}  // namespace

TEST(FileReveal, AsksTheFileManagerAndOpensTheFolderWhereNoneAnswers) {
    PrivateSessionBus bus;
    if (!bus.problem().empty()) GTEST_SKIP() << "no private session bus: " << bus.problem();
    OpenedUrls opened;
    QDesktopServices::setUrlHandler("file", &opened, "open");

    kestrix::views::revealFile("/media/Stick 1/notes draft.txt", bus.connection());
    EXPECT_TRUE(ModelHarness::waitFor([&] { return !opened.urls.empty(); })) << "no file manager on the bus";
    ASSERT_EQ(opened.urls.size(), 1u);
    EXPECT_EQ(opened.urls[0].toLocalFile(), "/media/Stick 1");

    FileManager manager;
    QDBusConnection service = QDBusConnection::connectToBus(QString::fromStdString(bus.address()), "file-manager");
    ASSERT_TRUE(service.registerObject("/org/freedesktop/FileManager1", &manager, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService("org.freedesktop.FileManager1"));
    ASSERT_TRUE(bus.waitForOwner("org.freedesktop.FileManager1"));

    kestrix::views::revealFile("/media/Stick 1/notes draft.txt", bus.connection());
    EXPECT_TRUE(ModelHarness::waitFor([&] { return !manager.shown.isEmpty(); }));
    EXPECT_EQ(manager.shown, QStringList{"file:///media/Stick%201/notes%20draft.txt"});
    EXPECT_EQ(opened.urls.size(), 1u) << "the folder is not opened as well";

    QDesktopServices::unsetUrlHandler("file");
    QDBusConnection::disconnectFromBus("file-manager");
}

#include "FileRevealTests.moc"
