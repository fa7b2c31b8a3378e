#include "CardHarness.h"

#include <QLabel>

#include "KestrixApp/Views/Cards/Chip.h"

namespace kestrix::views::test {

CardHarness::CardHarness(const nlohmann::json& worldJson) {
    world.start(worldJson);
    makeContext();
}

CardHarness::CardHarness(const nlohmann::json& worldJson, const std::function<void(AppBackend&)>& adjust) {
    world.writeWorld(worldJson);
    AppBackend backend = world.backend();
    adjust(backend);
    world.build(std::move(backend));
    world.model->start();
    const std::size_t count = worldJson["volumes"].size();
    if (!kestrix::testing::ModelHarness::waitFor([&] { return world.settled(count); })) {
        throw std::runtime_error("the drives were not listed and checked");
    }
    makeContext();
}

void CardHarness::makeContext() {
    ShellCommands shell;
    shell.openWindow = [this](const QString& id) { openedWindows.push_back(id); };
    context = std::make_unique<ViewContext>(ViewContext{*world.model, shell, dialogs});
}

std::unique_ptr<DriveCard> CardHarness::card(const std::string& driveId, bool compact) {
    auto made = std::make_unique<DriveCard>(*context, driveId, compact);
    made->resize(compact ? 400 : 640, 300);
    made->show();
    return made;
}

bool CardHarness::settle(const std::string& driveId) {
    return kestrix::testing::ModelHarness::waitFor([&] { return !model().state(driveId).busy; });
}

QStringList labelTexts(const QWidget* widget) {
    QStringList texts;
    for (const QLabel* label : widget->findChildren<QLabel*>()) {
        if (label->isVisibleTo(widget) && !label->text().isEmpty()) texts << label->text();
    }
    return texts;
}

std::vector<QAbstractButton*> buttons(const QWidget* widget) {
    std::vector<QAbstractButton*> found;
    for (QAbstractButton* candidate : widget->findChildren<QAbstractButton*>()) {
        if (candidate->isVisibleTo(widget)) found.push_back(candidate);
    }
    return found;
}

QAbstractButton* button(const QWidget* widget, const QString& textOrName) {
    for (QAbstractButton* candidate : buttons(widget)) {
        if (candidate->text() == textOrName || candidate->accessibleName() == textOrName) return candidate;
    }
    return nullptr;
}

QStringList buttonTexts(const QWidget* widget) {
    QStringList texts;
    for (const QAbstractButton* candidate : buttons(widget)) {
        texts << (candidate->text().isEmpty() ? candidate->accessibleName() : candidate->text());
    }
    return texts;
}

QString chipText(const QWidget* card) {
    for (const Chip* chip : card->findChildren<Chip*>()) {
        if (chip->isVisibleTo(card)) return chip->text();
    }
    return {};
}

}  // namespace kestrix::views::test
