#include "KestrixApp/Views/Settings/ModelToggle.h"

#include <QSignalBlocker>

namespace kestrix::views {

QCheckBox* modelToggle(AppModel& model, const QString& label, const ModelFlag& flag) {
    auto* toggle = new QCheckBox(label);
    toggle->setChecked((model.*flag.get)());
    const auto showModel = [toggle, &model, flag] {
        const QSignalBlocker quiet(toggle);
        toggle->setChecked((model.*flag.get)());
    };
    QObject::connect(toggle, &QCheckBox::toggled, toggle, [&model, flag, showModel](bool on) {
        (model.*flag.set)(on);
        showModel();
    });
    QObject::connect(&model, flag.changed, toggle, showModel);
    return toggle;
}

}  // namespace kestrix::views
