// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AddressArgument.h"

#include "base/FtpUrl.h"
#include "widgets/CoreTexts.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <cstdio>

namespace qx {

TAddressArgument ParseAddressArgument(const QStringList& arguments) {
    TAddressArgument result;
    if (arguments.isEmpty()) {
        return result;
    }
    if (arguments.size() > 1) {
        result.Problem = QCoreApplication::translate(
                             "qx::AddressArgument",
                             "Give one address ftp://[user[:password]@]host[:port]/path (ftps:// "
                             "for implicit TLS, sftp:// over SSH), not %1 arguments.")
                             .arg(arguments.size());
        return result;
    }
    const QString& address = arguments.front();
    std::string error;
    if (!ParseFtpUrl(address.toStdString(), error)) {
        result.Problem = CannotOpenText(address, CoreText(error));
        return result;
    }
    result.Address = address;
    return result;
}

QString AddressForMessage(const QString& address) {
    QString shown = address;
    // The user information ends at the last "@" before the path.
    const qsizetype scheme = shown.indexOf(QLatin1String("://"));
    if (scheme >= 0) {
        const qsizetype start = scheme + 3;
        qsizetype end = shown.indexOf(QLatin1Char('/'), start);
        if (end < 0) {
            end = shown.size();
        }
        const qsizetype at = shown.lastIndexOf(QLatin1Char('@'), end - 1);
        const qsizetype colon = at >= start ? shown.indexOf(QLatin1Char(':'), start) : -1;
        if (colon >= 0 && colon < at) {
            shown.replace(colon + 1, at - colon - 1, QStringLiteral("***"));
        }
    }
    QString visible;
    for (const QChar c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            visible += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            visible += c;
        }
    }
    return visible;
}

QString CannotOpenText(const QString& address, const QString& reason) {
    return QCoreApplication::translate("qx::AddressArgument", "Cannot open [%1]: %2.")
        .arg(AddressForMessage(address), reason);
}

void ReportAddressProblem(QWidget* parent, const QString& text) {
    std::fprintf(stderr, "quorvin-explorer: %s\n", text.toLocal8Bit().constData());
    QMessageBox::critical(
        parent, QCoreApplication::translate("qx::AddressArgument", "Open Address Error"), text);
}

} // namespace qx
