#include "app/platform/single_instance.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int kPeerWaitMs = 1000;
const QByteArray kRaiseRequest = "raise\n";

}  // namespace

QString InstanceName() { return QStringLiteral("korvel-%1").arg(getuid()); }

bool IsInstanceRunning(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    return socket.waitForConnected(kPeerWaitMs);
}

bool RaiseRunningInstance(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kPeerWaitMs)) return false;
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(kPeerWaitMs);
    socket.disconnectFromServer();
    return true;
}

InstanceListener::InstanceListener(const QString& name, std::function<void()> raise, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), raise_(std::move(raise)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a copy that crashed answers nobody: replace it.
    if (!server_->listen(name) && !IsInstanceRunning(name)) {
        QLocalServer::removeServer(name);
        server_->listen(name);
    }
    connect(server_, &QLocalServer::newConnection, this, &InstanceListener::Accept);
}

bool InstanceListener::IsListening() const { return server_->isListening(); }

void InstanceListener::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine())
                if (socket->readLine() == kRaiseRequest && raise_) raise_();
        });
    }
}
