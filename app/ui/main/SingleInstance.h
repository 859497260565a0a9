// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

class QLocalServer;
class QLockFile;

namespace Tolvane {

// Makes sure one Tolvane runs per user configuration: a second start finds the first and leaves.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the one instance; false when another one already runs
    // (it is told, and emits `activated`).
    bool claim();
    QString serverName() const;

signals:
    // Another start was attempted while this instance runs.
    void activated();

private:
    QString runtimePath(const QString& suffix) const;
    void tellRunningInstance();

    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

} // namespace Tolvane
