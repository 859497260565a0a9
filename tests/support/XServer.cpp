#include "XServer.h"

#include "ServiceWait.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool acceptsConnections(const QString& socketPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = socketPath.toLocal8Bit();
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

} // namespace

XServer::XServer(int firstDisplay) {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) {
        error_ = "Xvfb is not installed";
        return;
    }
    for (int number = firstDisplay; number < firstDisplay + 200; ++number) {
        // A lock file or socket means another server (ours or not) has the number.
        if (QFile::exists(QString("/tmp/.X%1-lock").arg(number)) ||
            QFile::exists(QString("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        if (startOn(number))
            return;
    }
    if (error_.isEmpty())
        error_ = "no free display number";
}

bool XServer::startOn(int number) {
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(
        "Xvfb", {QString(":%1").arg(number), "-noreset", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
    if (!process->waitForStarted(serviceStartMs)) {
        error_ = "Xvfb did not start: " + process->errorString();
        return false;
    }
    const QString socketPath = QString("/tmp/.X11-unix/X%1").arg(number);
    const QString lockPath = QString("/tmp/.X%1-lock").arg(number);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < serviceStartMs) {
        if (process->state() != QProcess::Running) {
            // Lost a race for this number to another server; try the next one.
            error_ = "Xvfb exited: " + QString::fromLocal8Bit(process->readAll()).trimmed();
            return false;
        }
        QFile lock(lockPath);
        const bool ours =
            lock.open(QIODevice::ReadOnly) && lock.readAll().trimmed().toLongLong() == process->processId();
        if (ours) {
            if (acceptsConnections(socketPath)) {
                process_ = std::move(process);
                display_ = QString(":%1").arg(number);
                error_.clear();
                return true;
            }
        }
        QThread::msleep(20);
    }
    process->kill();
    process->waitForFinished(2000);
    error_ = "Xvfb did not accept connections in time";
    return false;
}

XServer::~XServer() {
    if (process_) {
        process_->terminate();
        if (!process_->waitForFinished(5000)) {
            process_->kill();
            process_->waitForFinished(2000);
        }
    }
}

bool XServer::isRunning() const {
    return process_ && process_->state() == QProcess::Running;
}

int XServer::run(const QString& program, const QStringList& arguments, int timeoutMs,
                 QByteArray* output) const {
    QProcess peer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    peer.setProcessEnvironment(env);
    peer.setProcessChannelMode(QProcess::MergedChannels);
    peer.start(program, arguments);
    if (!peer.waitForStarted(5000))
        return -1;
    if (!peer.waitForFinished(timeoutMs)) {
        peer.kill();
        peer.waitForFinished(2000);
        return -1;
    }
    if (output)
        *output = peer.readAll();
    return peer.exitStatus() == QProcess::NormalExit ? peer.exitCode() : -1;
}

void XServer::exportToEnvironment() const {
    qputenv("DISPLAY", display_.toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");
}
