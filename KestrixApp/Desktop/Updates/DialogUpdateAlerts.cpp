#include "KestrixApp/Desktop/Updates/DialogUpdateAlerts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

#include "KestrixKit/Text/Localized.h"

namespace kestrix::desktop {

namespace {

QString text(const char* english) { return QString::fromStdString(localized(english)); }

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
    box.exec();
}

}  // namespace kestrix::desktop
