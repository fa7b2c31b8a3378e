#include "KestrixApp/Views/Screenshots/Tests/SceneChecks.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QLabel>
#include <QTabWidget>
#include <map>

#include "KestrixApp/Views/Cards/ElidedLabel.h"
#include "KestrixApp/Views/Style/ColourContrast.h"

namespace kestrix::views::testing {

namespace {

std::string describe(const QWidget* widget) {
    std::string name = widget->metaObject()->className();
    if (!widget->objectName().isEmpty()) name += " " + widget->objectName().toStdString();
    QString shown;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) shown = label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) shown = button->text();
    if (shown.isEmpty()) shown = widget->accessibleName();
    if (!shown.isEmpty()) name += " \"" + shown.left(60).toStdString() + "\"";
    for (const QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (!up->objectName().isEmpty() && !up->objectName().startsWith("qt_")) {
            name += " in " + up->objectName().toStdString();
            break;
        }
    }
    return name;
}

std::vector<QWidget*> shownWidgets(QWidget& window) {
    std::vector<QWidget*> shown;
    if (window.isVisible()) shown.push_back(&window);
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->isVisible() && !widget->isWindow()) shown.push_back(widget);
    }
    return shown;
}

// Whether the widget is the content a scrolling area moves inside its viewport.
bool isScrolledContent(const QWidget* widget) {
    const QWidget* viewport = widget->parentWidget();
    if (viewport == nullptr) return false;
    const auto* area = qobject_cast<const QAbstractScrollArea*>(viewport->parentWidget());
    return area != nullptr && area->viewport() == viewport;
}

// The colour most of the area shows: what text in it is drawn on.
QColor commonestColour(const QImage& picture, const QRect& area) {
    std::map<QRgb, int> counts;
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) ++counts[picture.pixel(x, y)];
    }
    QRgb commonest = 0;
    int most = -1;
    for (const auto& [colour, count] : counts) {
        if (count > most) {
            most = count;
            commonest = colour;
        }
    }
    return QColor::fromRgb(commonest);
}

}  // namespace

std::vector<std::string> layoutProblems(QWidget& window) {
    std::vector<std::string> problems;
    for (QWidget* widget : shownWidgets(window)) {
        if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && label->wordWrap() && label->width() > 0) {
            const int needed = label->heightForWidth(label->width());
            if (label->height() + 1 < needed) {
                problems.push_back(describe(label) + " is " + std::to_string(label->height()) + " high, its text needs " +
                                   std::to_string(needed));
            }
        }
        if (auto* name = qobject_cast<ElidedLabel*>(widget);
            name != nullptr && name->width() >= name->sizeHint().width() && name->text() != name->wholeText()) {
            problems.push_back(describe(name) + " is cut although it has room for \"" + name->wholeText().toStdString() +
                               "\"");
        }
        const QWidget* parent = widget->parentWidget();
        if (widget == &window || parent == nullptr) continue;
        const QRect place = widget->geometry();
        const QRect room = parent->rect();
        const bool outside = isScrolledContent(widget)
                                 ? place.left() < room.left() - 1 || place.right() > room.right() + 1
                                 : !room.adjusted(-1, -1, 1, 1).contains(place);
        if (outside) {
            problems.push_back(describe(widget) + " at " + std::to_string(place.x()) + "," + std::to_string(place.y()) +
                               " " + std::to_string(place.width()) + "x" + std::to_string(place.height()) +
                               " reaches outside " + describe(parent) + " (" + std::to_string(room.width()) + "x" +
                               std::to_string(room.height()) + ")");
        }
    }
    return problems;
}

std::vector<std::string> iconProblems(QWidget& window) {
    std::vector<std::string> problems;
    for (QWidget* widget : shownWidgets(window)) {
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->text().isEmpty() && label->pixmap().isNull()) problems.push_back(describe(label) + " shows no icon");
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            const bool hasParts = !button->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty();
            if (button->text().isEmpty() && button->icon().isNull() && !hasParts)
                problems.push_back(describe(button) + " shows no icon");
        } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            for (int index = 0; index < tabs->count(); ++index) {
                if (tabs->tabIcon(index).isNull())
                    problems.push_back("tab \"" + tabs->tabText(index).toStdString() + "\" shows no icon");
            }
        }
    }
    return problems;
}

std::vector<std::string> contrastProblems(QWidget& window, const QImage& picture) {
    std::vector<std::string> problems;
    const qreal scale = picture.devicePixelRatio();
    for (QWidget* widget : shownWidgets(window)) {
        auto* label = qobject_cast<QLabel*>(widget);
        if (label == nullptr || label->text().isEmpty() || !label->isEnabled()) continue;
        // Only what the picture shows of it: a scrolled-away label is not on screen.
        const QRect seen = label->visibleRegion().boundingRect().intersected(label->contentsRect());
        if (seen.isEmpty()) continue;
        const QRect area(label->mapTo(&window, seen.topLeft()) * scale, seen.size() * scale);
        const QColor background = commonestColour(picture, area);
        const QColor text = composited(label->palette().color(label->foregroundRole()), background);
        const QColor written = label->palette().color(label->foregroundRole());
        const double wanted = written.hslSaturationF() > 0.35 ? tintedTextContrast : bodyTextContrast;
        const double ratio = contrastRatio(text, background);
        if (ratio + 0.005 < wanted) {
            problems.push_back(describe(label) + " has " + std::to_string(ratio).substr(0, 4) + ":1 (" +
                               text.name().toStdString() + " on " + background.name().toStdString() + "), needs " +
                               std::to_string(wanted).substr(0, 3));
        }
    }
    return problems;
}

}  // namespace kestrix::views::testing
