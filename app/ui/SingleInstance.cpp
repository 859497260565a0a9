#include "SingleInstance.h"

#include "platform/Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace Tolvane {

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

QString SingleInstance::serverName() const {
    // One instance per configuration folder, so separate test homes do not see each other.
    const QByteArray key =
        QCryptographicHash::hash(platform::tolvaneConfigDir().toUtf8(), QCryptographicHash::Sha1);
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir(runtime).exists())
        runtime = QDir::tempPath();
    return runtime + "/tolvane-" + QString::fromLatin1(key.toHex().left(16)) + ".sock";
}

bool SingleInstance::claim() {
    const QString name = serverName();
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(500)) {
            probe.write("activate\n");
            probe.waitForBytesWritten(500);
            return false;
        }
    }
    // Nobody answers: a socket left by a crashed instance may remain.
    QLocalServer::removeServer(name);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        qWarning("Tolvane: cannot listen on %s: %s", qPrintable(name), qPrintable(server_->errorString()));
        return true; // run anyway; only duplicate detection is lost
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            emit activated();
        }
    });
    return true;
}

} // namespace Tolvane
