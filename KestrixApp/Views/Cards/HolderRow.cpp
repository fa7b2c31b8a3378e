#include "KestrixApp/Views/Cards/HolderRow.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Cards/ActionButton.h"
#include "KestrixApp/Views/Cards/CardTexts.h"
#include "KestrixApp/Views/Cards/ElidedLabel.h"
#include "KestrixApp/Views/Cards/FileReveal.h"
#include "KestrixApp/Views/Cards/ShownText.h"
#include "KestrixApp/Views/Cards/TextStyle.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/Style/ColourContrast.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/HolderPolicy.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {
namespace {

constexpr int iconWidth = 20;

QLabel* writingLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromStdString(localized("Writing")));
    label->setFont(styledFont(TextStyle::caption2, label->font(), true));
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText,
                     readableOn(tintColor(Tint::red, colours), colours.color(QPalette::Window), tintedTextContrast));
    label->setPalette(colours);
    return label;
}

QWidget* titleLine(const Holder& holder, QWidget* parent) {
    auto* line = new QWidget(parent);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    const std::string title = holderTitle(holder);
    auto* titleLabel = new ElidedLabel(shownText(title), line);
    titleLabel->setFont(styledFont(TextStyle::callout, titleLabel->font(), true));
    layout->addWidget(titleLabel);
    if (title != holder.name) {
        auto* name = new ElidedLabel(shownText(holder.name), line);
        name->setFont(styledFont(TextStyle::caption2, name->font()));
        name->setPalette(secondaryPalette(name->palette()));
        layout->addWidget(name);
    }
    if (holder.namedByMacOS) layout->addWidget(plainLabel(localized("named by macOS"), TextStyle::caption2, line, true));
    if (holder.isWriting()) {
        auto* pencil = new QLabel(line);
        pencil->setPixmap(symbolPixmap("pencil", 12, tintColor(Tint::red, pencil->palette())));
        layout->addWidget(pencil);
        layout->addWidget(writingLabel(line));
    }
    layout->addStretch(1);
    return line;
}

}  // namespace

HolderRow::HolderRow(ViewContext& context, Holder holder, bool compact, QWidget* parent)
    : QWidget(parent), holder_(std::move(holder)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto* icon = new QLabel(this);
    icon->setFixedWidth(iconWidth);
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    icon->setPixmap(symbolPixmap(HelperCatalog::symbol(holder_.kind), 16, secondaryTextColor(icon->palette())));
    layout->addWidget(icon, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    layout->addLayout(texts, 1);
    texts->addWidget(titleLine(holder_, this));
    auto* description = plainLabel(HelperCatalog::description(holder_), TextStyle::caption, this);
    description->setWordWrap(true);
    texts->addWidget(description);
    if (!compact && !holder_.holds.empty()) {
        auto* holdLine = plainLabel(HelperCatalog::holdLine(holder_.holds.front()), TextStyle::caption, this, true);
        // A long file name keeps both ends: the start says where, the end says which file.
        holdLine->setText(holdLine->fontMetrics().elidedText(holdLine->text(), Qt::ElideMiddle, 360));
        texts->addWidget(holdLine);
    }
    auto* advice = plainLabel(HelperCatalog::advice(holder_), TextStyle::caption, this, true);
    advice->setWordWrap(true);
    texts->addWidget(advice);

    const std::uint32_t uid = context.model.currentUID();
    const auto actions = HolderPolicy::actions(holder_, uid);
    const bool offersShow = std::find(actions.begin(), actions.end(), HolderAction::showApp) != actions.end();
    const bool offersFile = showsFileButton(holder_, compact, uid);
    if (offersShow || offersFile) {
        auto* buttons = new QHBoxLayout;
        buttons->setSpacing(6);
        if (offersShow) {
            auto* show = new ActionButton(localized("Show"), {}, this);
            show->setAccessibleName(shownText(localizedFormat("Show %1", {holder_.name})));
            connect(show, &QPushButton::clicked, this, [&model = context.model, shown = holder_] { model.showApp(shown); });
            buttons->addWidget(show);
        }
        if (offersFile) {
            auto* reveal = new ActionButton({}, "magnifyingglass", this);
            reveal->setToolTip(QString::fromStdString(localized("Show the file in Finder")));
            reveal->setAccessibleName(shownText(localizedFormat("Show the file %1 is using in Finder", {holder_.name})));
            connect(reveal, &QPushButton::clicked, this,
                    [path = QString::fromStdString(*holder_.mainPath())] { revealFile(path); });
            buttons->addWidget(reveal);
        }
        buttons->addStretch();
        texts->addLayout(buttons);
    }

    setAccessibleName(shownText(holderAccessibleName(holder_)));
    setAccessibleDescription(shownText(holderAccessibleDescription(holder_)));
}

}  // namespace kestrix::views
