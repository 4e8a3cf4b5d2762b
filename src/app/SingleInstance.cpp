#include "app/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QWidget>

#include <unistd.h>

namespace qx {

namespace {
constexpr char kActivate[] = "activate\n";
}

QString TSingleInstance::DefaultServerName() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists()) {
        return QDir(runtime).filePath(QStringLiteral("quorvin-explorer.socket"));
    }
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("quorvin-explorer-%1.socket").arg(::getuid()));
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

bool TSingleInstance::ActivateRunningInstance(int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(timeoutMs)) {
        return false;
    }
    // The running instance answers once it has acted, so that this one may end.
    return socket.waitForReadyRead(timeoutMs) && socket.readAll().startsWith("ok");
}

bool TSingleInstance::Listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        if (ActivateRunningInstance()) {
            return false;
        }
        // Nobody answers: a socket left behind by an instance that did not end cleanly.
        QLocalServer::removeServer(m_serverName);
        if (!m_server->listen(m_serverName)) {
            return false;
        }
    }
    connect(this, &TSingleInstance::ActivationRequested, this, &TSingleInstance::BringToFront);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().startsWith("activate")) {
                    Q_EMIT ActivationRequested();
                    client->write("ok\n");
                    client->flush();
                }
            });
        }
    });
    return true;
}

void TSingleInstance::BringToFront() const {
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
    if (window->isMinimized()) {
        window->showNormal();
    }
    window->raise();
    window->activateWindow();
}

} // namespace qx
