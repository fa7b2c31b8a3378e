#include <QFile>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "KestrixApp/Model/Tests/ModelHarness.h"
#include "KestrixApp/Views/Welcome/WelcomeView.h"

namespace {

using namespace kestrix;
using kestrix::testing::ModelHarness;

QPushButton* buttonLabelled(QWidget& view, const QString& text) {
    for (QPushButton* button : view.findChildren<QPushButton*>()) {
        if (button->text() == text) return button;
    }
    return nullptr;
}

TEST(WelcomeView, GetStartedIsWrittenAtOnceAndClosesTheWindow) {
    ModelHarness harness;
    harness.start(nlohmann::json::object());
    ASSERT_FALSE(harness.model->onboarded());
    std::vector<QString> opened;
    QWidget window;
    auto* welcome = new views::WelcomeView(*harness.model, [&](const QString& id) { opened.push_back(id); }, true);
    (new QVBoxLayout(&window))->addWidget(welcome);
    window.show();

    buttonLabelled(*welcome, "Help")->click();
    EXPECT_EQ(opened, std::vector<QString>{"help"});
    EXPECT_TRUE(window.isVisible());

    buttonLabelled(*welcome, "Get Started")->click();
    EXPECT_TRUE(harness.model->onboarded());
    EXPECT_FALSE(window.isVisible());
    // Read from the disk, as the next launch would after a crash right now.
    QFile file(harness.path("settings.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains("onboarded=true"));
}

}  // namespace
