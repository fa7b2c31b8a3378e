#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QStringList>

#include "KestrixApp/Model/Tests/ModelHarness.h"
#include "KestrixApp/Views/Cards/DriveCard.h"
#include "KestrixApp/Views/TestSupport/AnsweringDialogs.h"
#include "KestrixApp/Views/ViewContext.h"

namespace kestrix::views::test {

using testing::AnsweringDialogs;

// A live model on a world, the context cards are built in, and what the shell was asked.
class CardHarness {
public:
    kestrix::testing::ModelHarness world;
    AnsweringDialogs dialogs;
    std::vector<QString> openedWindows;
    std::unique_ptr<ViewContext> context;

    // Starts the model on the world and waits until every drive was checked.
    explicit CardHarness(const nlohmann::json& worldJson);
    // For a world whose system is changed before the model starts.
    CardHarness(const nlohmann::json& worldJson, const std::function<void(AppBackend&)>& adjust);

    AppModel& model() { return *world.model; }
    const Drive& drive(const std::string& id) const { return world.drive(id); }
    std::unique_ptr<DriveCard> card(const std::string& driveId, bool compact);
    // Waits until the drive's operation ended.
    bool settle(const std::string& driveId);

private:
    void makeContext();
};

// The texts of every visible label under the widget, in layout order.
QStringList labelTexts(const QWidget* widget);
// The visible buttons under the widget, by their text or accessible name.
QAbstractButton* button(const QWidget* widget, const QString& textOrName);
std::vector<QAbstractButton*> buttons(const QWidget* widget);
QStringList buttonTexts(const QWidget* widget);
QString chipText(const QWidget* card);

}  // namespace kestrix::views::test
