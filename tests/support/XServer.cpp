// SPDX-License-Identifier: GPL-3.0-or-later
#include "XServer.h"

#include "ServiceWait.h"

#include <QElapsedTimer>
#include <QStandardPaths>

XServer::XServer() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) {
        error_ = "Xvfb is not installed";
        return;
    }
    // Xvfb picks a free number itself, also skipping numbers whose abstract socket another server
    // (perhaps in another mount namespace, with no file here) holds, and prints it once it listens.
    auto process = std::make_unique<QProcess>();
    process->start("Xvfb",
                   {"-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
    if (!process->waitForStarted(serviceStartMs)) {
        error_ = "Xvfb did not start: " + process->errorString();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    while (!process->canReadLine() && clock.elapsed() < serviceStartMs) {
        if (process->state() != QProcess::Running) {
            error_ = "Xvfb exited: " + QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
            return;
        }
        process->waitForReadyRead(100);
    }
    const QByteArray number = process->readLine().trimmed();
    if (number.isEmpty()) {
        process->kill();
        process->waitForFinished(2000);
        error_ = "Xvfb did not accept connections in time";
        return;
    }
    display_ = ":" + QString::fromLatin1(number);
    process_ = std::move(process);
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
