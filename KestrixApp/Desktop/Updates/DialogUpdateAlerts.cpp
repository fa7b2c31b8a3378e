#include "KestrixApp/Desktop/Updates/DialogUpdateAlerts.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "KestrixKit/Text/Localized.h"

namespace kestrix::desktop {

namespace {

QString text(std::string_view english) { return QString::fromStdString(localized(english)); }

// A feed's words are shown as they are: markup in one must not load a picture or offer a link.
void showPlainText(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    for (auto* label : box.findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        label->setOpenExternalLinks(false);
    }
}

}  // namespace

DialogUpdateAlerts::DialogUpdateAlerts(QWidget* parent) : parent_(parent) {}

void DialogUpdateAlerts::upToDate(const UpdateNotice& notice) { inform(notice); }

void DialogUpdateAlerts::couldNotCheck(const UpdateNotice& notice) { inform(notice); }

void DialogUpdateAlerts::newVersion(const UpdateNotice& notice, const QUrl& downloadPage) {
    QMessageBox box(QMessageBox::Information, notice.title, notice.title, QMessageBox::NoButton, parent_);
    box.setInformativeText(notice.message);
    auto* download = box.addButton(text("Download…"), QMessageBox::AcceptRole);
    box.setDefaultButton(download);
    box.setEscapeButton(box.addButton(text("Later"), QMessageBox::RejectRole));
    showPlainText(box);
    box.exec();
    if (box.clickedButton() == download) QDesktopServices::openUrl(downloadPage);
}

void DialogUpdateAlerts::newVersionFound(const UpdateNotice& notice, const QUrl& downloadPage) {
    notification_.show(notice.title, notice.message, text("Download…"), downloadPage);
}

void DialogUpdateAlerts::inform(const UpdateNotice& notice) {
    QMessageBox box(QMessageBox::Information, notice.title, notice.title, QMessageBox::NoButton, parent_);
    box.setInformativeText(notice.message);
    box.addButton(text("OK"), QMessageBox::AcceptRole);
    showPlainText(box);
    box.exec();
}

}  // namespace kestrix::desktop
