#include "ui/game/single_instance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace vk {

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), name_(ServerName(key)) {}

QString SingleInstance::ServerName(const QString& key)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("vokabron-") + qEnvironmentVariable("USER", QStringLiteral("user")) + '-'
           + QString::fromLatin1(hash);
}

bool SingleInstance::AnotherIsRunning()
{
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(500)) {
        probe.write("raise\n");
        probe.waitForBytesWritten(500);
        probe.disconnectFromServer();
        return true;
    }

    // Nobody answered: a socket left by a copy that crashed is stale.
    QLocalServer::removeServer(name_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_))
        return false; // we still run; we just cannot be found by a later copy
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (peer->readAll().contains("raise"))
                    emit raiseRequested();
            });
        }
    });
    return false;
}

void BringProgramToFront(QWidget& mainWindow)
{
    mainWindow.setWindowState(mainWindow.windowState() & ~Qt::WindowMinimized);
    mainWindow.show();
    mainWindow.raise();
    mainWindow.activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace vk
