#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Whether every pixel of the picture has the same colour.
bool isBlank(const QImage& image) {
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb first = pixels.pixel(0, 0);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            if (line[x] != first) return false;
        }
    }
    return true;
}

}  // namespace

TEST(ScreenshotCommand, DrawsThePanelBothPagesAndEveryCardStateWithoutADisplay) {
    QTemporaryDir folder;
    QProcess kestrix;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    kestrix.setProcessEnvironment(environment);
    kestrix.start(KESTRIX_PATH, {"--demo", "--screenshot", folder.path()});
    ASSERT_TRUE(kestrix.waitForFinished(120000));
    ASSERT_EQ(kestrix.exitCode(), 0) << kestrix.readAllStandardError().toStdString();

    const QStringList expected{"menu-panel",       "main-drives",        "main-history", "card-ready",
                               "card-busy",        "card-inUse",         "card-heldByMacOS",
                               "card-waitingOnApps", "card-backup",      "card-failed"};
    for (const QString& name : expected) {
        const QImage image(QDir(folder.path()).filePath(name + ".png"));
        ASSERT_FALSE(image.isNull()) << name.toStdString() << " is missing";
        EXPECT_FALSE(isBlank(image)) << name.toStdString() << " is blank";
    }

    QProcess wrong;
    wrong.start(KESTRIX_PATH, {"--screenshot", folder.path()});
    ASSERT_TRUE(wrong.waitForFinished(20000));
    EXPECT_EQ(wrong.exitCode(), 2) << "the pictures are of a simulated system";
}

TEST(ScreenshotCommand, DrawsTheWindowsOfAnyWorld) {
    QTemporaryDir folder;
    QProcess kestrix;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    kestrix.setProcessEnvironment(environment);
    kestrix.start(KESTRIX_PATH, {"--world", QString(KESTRIX_SHELL_TEST_DATA) + "/two-drives-world.json", "--screenshot",
                                 folder.path()});
    ASSERT_TRUE(kestrix.waitForFinished(120000));
    ASSERT_EQ(kestrix.exitCode(), 0) << kestrix.readAllStandardError().toStdString();
    for (const char* name : {"menu-panel", "main-drives", "main-drives-dark", "main-history", "settings-general",
                             "welcome", "help"}) {
        const QImage image(QDir(folder.path()).filePath(QString(name) + ".png"));
        ASSERT_FALSE(image.isNull()) << name << " is missing";
        EXPECT_FALSE(isBlank(image)) << name << " is blank";
    }
    EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath("card-ready.png"))) << "the card states are the demo's";
}
