// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace qx {

// What a start was given on its command line (after Qt took its own options): nothing, or one
// address ftp://[user[:password]@]host[:port]/path to open in a quick-connect explorer.
struct TAddressArgument {
    QString Address; // empty: none given
    QString Problem; // why the command line cannot be used; empty when it can
};

// Checks the address with the rules of the command-line tool (a CR, LF or NUL is refused), so
// that a bad one is reported by the start that was given it.
TAddressArgument ParseAddressArgument(const QStringList& arguments);

// The address as a message may show it: the password replaced by "***" and control
// characters written as \xHH.
QString AddressForMessage(const QString& address);

// "Cannot open [address]: reason." with the address as a message may show it.
QString CannotOpenText(const QString& address, const QString& reason);

// A problem with an address, on standard error and in a message box.
void ReportAddressProblem(QWidget* parent, const QString& text);

} // namespace qx
