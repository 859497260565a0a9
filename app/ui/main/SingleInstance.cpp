// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include "platform/Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSysInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace Tolvane {

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

namespace {

// A folder that is ours alone: nobody else can put a lock or a socket where we look for one.
bool ownedPrivateFolder(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The session's runtime folder; without one (su, cron, some SSH logins) a private folder in the
// user's own config folder, never a name in /tmp that another user could take first.
QString runtimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (ownedPrivateFolder(runtime))
        return runtime;
    // Per machine: a home shared over the network must not make one machine wait for another.
    const QString own = platform::tolvaneConfigDir() + QStringLiteral("/run-") + QSysInfo::machineHostName();
    QDir().mkpath(platform::tolvaneConfigDir());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (!ownedPrivateFolder(own))
        qWarning("Tolvane: %s is not a private folder of this user", qPrintable(own));
    return own;
}

} // namespace

QString SingleInstance::runtimePath(const QString& suffix) const {
    // One instance per configuration folder, so separate test homes do not see each other.
    const QByteArray key =
        QCryptographicHash::hash(platform::tolvaneConfigDir().toUtf8(), QCryptographicHash::Sha1);
    return runtimeFolder() + "/tolvane-" + QString::fromLatin1(key.toHex().left(16)) + suffix;
}

QString SingleInstance::serverName() const {
    return runtimePath(QStringLiteral(".sock"));
}

void SingleInstance::tellRunningInstance() {
    QLocalSocket probe;
    probe.connectToServer(serverName());
    if (probe.waitForConnected(1000)) {
        probe.write("activate\n");
        probe.waitForBytesWritten(500);
    }
}

bool SingleInstance::claim() {
    // The lock decides who runs; the socket only carries "someone started me again".
    // Two starts at the same moment cannot both win, and a slow instance is never pushed aside.
    lock_ = std::make_unique<QLockFile>(runtimePath(QStringLiteral(".lock")));
    lock_->setStaleLockTime(0); // held for hours: stale only when its process is gone, never by age
    if (!lock_->tryLock(200)) {
        lock_.reset();
        tellRunningInstance();
        return false;
    }
    // We hold the lock, so a socket left behind belongs to a crashed instance.
    QLocalServer::removeServer(serverName());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(serverName())) {
        qWarning("Tolvane: cannot listen on %s: %s", qPrintable(serverName()),
                 qPrintable(server_->errorString()));
        return true; // still the one instance; only the "show yourself" request is lost
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
