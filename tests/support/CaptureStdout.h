// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Captures what the process writes to standard output while it lives.
class CaptureStdout {
public:
    CaptureStdout();
    ~CaptureStdout();
    CaptureStdout(const CaptureStdout&) = delete;
    CaptureStdout& operator=(const CaptureStdout&) = delete;

    // Everything written so far, split into lines (the last line feed ends the last line).
    QStringList lines();

private:
    int savedFd_ = -1;
    QString path_;
};
