// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ExternalLink.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>

namespace qx {

void OpenExternalLink(QWidget* parent, const QUrl& url, const QString& shownAddress,
                      const TUrlOpener& open) {
    const bool opened = open ? open(url) : QDesktopServices::openUrl(url);
    if (opened) {
        return;
    }
    const bool mail = url.scheme() == QLatin1String("mailto");
    QMessageBox box(
        QMessageBox::Warning,
        QCoreApplication::translate("qx::ExternalLink", "Quorvin Explorer Error"),
        mail ? QCoreApplication::translate("qx::ExternalLink",
                                           "No mail program could be started to write to [%1]. "
                                           "Write to this address from the mail program you use.")
                   .arg(shownAddress)
             : QCoreApplication::translate("qx::ExternalLink",
                                           "No web browser could be started to open [%1]. Open "
                                           "this address in the browser you use.")
                   .arg(shownAddress),
        QMessageBox::Ok, parent);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}

} // namespace qx
