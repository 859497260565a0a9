// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptureStdout.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

CaptureStdout::CaptureStdout() {
    path_ = QDir::tempPath() + "/tolvane-stdout-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::fflush(stdout);
    savedFd_ = dup(STDOUT_FILENO);
    const int fd = open(QFile::encodeName(path_).constData(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    dup2(fd, STDOUT_FILENO);
    close(fd);
}

CaptureStdout::~CaptureStdout() {
    std::fflush(stdout);
    dup2(savedFd_, STDOUT_FILENO);
    close(savedFd_);
    QFile::remove(path_);
}

QStringList CaptureStdout::lines() {
    std::fflush(stdout);
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith('\n'))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split('\n');
}
