// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleInstance.h"

#include "platform/ProgramSocket.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace qx {

namespace {

constexpr char kActivate[] = "activate";
constexpr char kOpen[] = "open ";
constexpr char kOk[] = "ok";
// No request is longer; a client that sends more without a line end is cut off.
constexpr qint64 kMaxRequest = 64 * 1024;

void Restore(QWidget& window) {
    if (window.isMinimized()) {
        window.showNormal();
    }
}

} // namespace

QString TSingleInstance::DefaultServerName() {
    return QString::fromStdString(ProgramSocketPath().string());
}

TSingleInstance::TSingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName)) {
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        connect(application, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now != nullptr) {
                m_lastActive = now->window();
            }
        });
    }
}

bool TSingleInstance::ActivateRunningInstance(const QString& address, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    const QByteArray request =
        address.isEmpty() ? QByteArray(kActivate) : QByteArray(kOpen) + address.toUtf8();
    socket.write(request + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) {
        return false;
    }
    // The running instance answers once it has acted, so that this one may end.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs)) {
            return false;
        }
    }
    return socket.readLine().trimmed() == kOk;
}

bool TSingleInstance::Listen(const QString& address) {
    // Listening with access options puts the socket in place by renaming it there, which
    // would take the name from a running instance: ask first.
    if (ActivateRunningInstance(address)) {
        return false;
    }
    // Nobody answers: at most a socket left behind by an instance that did not end cleanly.
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        return false;
    }
    connect(this, &TSingleInstance::ActivationRequested, this, &TSingleInstance::BringToFront);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this,
                    [this, client] { ReadRequests(client); });
        }
    });
    return true;
}

void TSingleInstance::ReadRequests(QLocalSocket* client) {
    while (client->canReadLine()) {
        QByteArray line = client->readLine(kMaxRequest);
        if (!line.endsWith('\n')) {
            client->abort(); // longer than any request
            return;
        }
        line.chop(1);
        if (line == kActivate) {
            Q_EMIT ActivationRequested();
        } else if (line.startsWith(kOpen)) {
            Q_EMIT ActivationRequested();
            Q_EMIT OpenAddressRequested(QString::fromUtf8(line.mid(qsizetype(sizeof kOpen) - 1)));
        } else {
            continue; // not a request of this program
        }
        client->write(QByteArray(kOk) + '\n');
        client->flush();
    }
    if (client->bytesAvailable() > kMaxRequest) {
        client->abort();
    }
}

void TSingleInstance::BringToFront() const {
    if (m_mainWindow && m_mainWindow->isVisible()) {
        Restore(*m_mainWindow);
    }
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr && m_lastActive && m_lastActive->isVisible()) {
        window = m_lastActive;
    }
    if (window == nullptr) {
        for (QWidget* candidate : QApplication::topLevelWidgets()) {
            if (candidate->isVisible() && candidate->isWindow()) {
                window = candidate;
                break;
            }
        }
    }
    if (window == nullptr) {
        return;
    }
    Restore(*window);
    window->raise();
    window->activateWindow();
}

} // namespace qx
