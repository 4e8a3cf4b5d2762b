// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLocalServer;
class QLocalSocket;

namespace qx {

// One running program per user. The first start listens on a per-user local socket; a later
// start finds it there, asks it to come to the front (and to open the address the later start
// was given, if any) and ends.
//
// The requests are lines: "activate" or "open <address>"; the running instance answers "ok"
// once it has acted on one.
class TSingleInstance final : public QObject {
    Q_OBJECT
public:
    // The socket of this user: in $XDG_RUNTIME_DIR when there is one, else in the temporary
    // folder with the user id in its name.
    static QString DefaultServerName();

    explicit TSingleInstance(QString serverName, QObject* parent = nullptr);

    // True when a running instance took the request to come to the front and, with an address,
    // to open it.
    bool ActivateRunningInstance(const QString& address = {}, int timeoutMs = 1000) const;
    // Starts listening; false when another instance got there first (it has been asked to
    // come to the front and to open the address then) or the socket cannot be made.
    bool Listen(const QString& address = {});

    // The window that comes back with every activation when it is minimised, whichever window
    // was active last.
    void SetMainWindow(QWidget* window) { m_mainWindow = window; }
    // Brings the main window back when it is minimised, then the program's last active window
    // (a modal dialog above all) to the front, restoring it when it is minimised. Listen()
    // connects it to later starts.
    void BringToFront() const;

Q_SIGNALS:
    // A later start asked this instance to come to the front.
    void ActivationRequested();
    // A later start asked this instance to open an address (after coming to the front).
    void OpenAddressRequested(const QString& address);

private:
    void ReadRequests(QLocalSocket* client);

    QString m_serverName;
    QLocalServer* m_server = nullptr;
    QPointer<QWidget> m_lastActive;
    QPointer<QWidget> m_mainWindow;
};

} // namespace qx
