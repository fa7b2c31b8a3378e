#include "KestrixApp/Desktop/Updates/DialogUpdateAlerts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

namespace kestrix::desktop {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("Updater", text); }

}  // namespace

DialogUpdateAlerts::DialogUpdateAlerts(QWidget* parent) : parent_(parent) {}

void DialogUpdateAlerts::upToDate(const UpdateNotice& notice) { inform(notice); }

void DialogUpdateAlerts::couldNotCheck(const UpdateNotice& notice) { inform(notice); }

void DialogUpdateAlerts::newVersion(const UpdateNotice& notice, const QUrl& downloadPage) {
    QMessageBox box(QMessageBox::Information, notice.title, notice.title, QMessageBox::NoButton, parent_);
    box.setInformativeText(notice.message);
    auto* download = box.addButton(tr("Download…"), QMessageBox::AcceptRole);
    box.setDefaultButton(download);
    box.setEscapeButton(box.addButton(tr("Later"), QMessageBox::RejectRole));
    box.exec();
    if (box.clickedButton() == download) QDesktopServices::openUrl(downloadPage);
}

void DialogUpdateAlerts::newVersionFound(const UpdateNotice& notice, const QUrl& downloadPage) {
    notification_.show(notice.title, notice.message, tr("Download…"), downloadPage);
}

void DialogUpdateAlerts::inform(const UpdateNotice& notice) {
    QMessageBox box(QMessageBox::Information, notice.title, notice.title, QMessageBox::NoButton, parent_);
    box.setInformativeText(notice.message);
    box.addButton(tr("OK"), QMessageBox::AcceptRole);
    box.exec();
}

}  // namespace kestrix::desktop
