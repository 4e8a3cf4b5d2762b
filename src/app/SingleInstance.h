#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLocalServer;

namespace qx {

// One running program per user. The first start listens on a per-user local socket; a later
// start finds it there, asks it to come to the front and ends.
class TSingleInstance final : public QObject {
    Q_OBJECT
public:
    // The socket of this user: in $XDG_RUNTIME_DIR when there is one, else in the temporary
    // folder with the user id in its name.
    static QString DefaultServerName();

    explicit TSingleInstance(QString serverName, QObject* parent = nullptr);

    // True when a running instance took the request to come to the front.
    bool ActivateRunningInstance(int timeoutMs = 1000) const;
    // Starts listening; false when another instance got there first (it has been asked to
    // come to the front then) or the socket cannot be made.
    bool Listen();

    // Brings the program's last active window to the front (a modal dialog above all),
    // restoring it when it is minimised. Listen() connects it to later starts.
    void BringToFront() const;

Q_SIGNALS:
    // A later start asked this instance to come to the front.
    void ActivationRequested();

private:
    QString m_serverName;
    QLocalServer* m_server = nullptr;
    QPointer<QWidget> m_lastActive;
};

} // namespace qx
