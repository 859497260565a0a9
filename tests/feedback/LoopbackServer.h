// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The loopback stand-in for the feedback service (feedback_server.py), started and stopped with the object.
#include <QCoroTask>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <exception>
#include <optional>
#include <stdexcept>

class LoopbackServer {
public:
    // tls: certificate and key files; the server then speaks HTTPS only.
    explicit LoopbackServer(std::optional<std::pair<QString, QString>> tls = std::nullopt) {
        QStringList args{QStringLiteral(TELLWICK_SERVER_SCRIPT)};
        if (tls)
            args << "--tls" << tls->first << tls->second;
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start("python3", args);
        if (!process_.waitForStarted(10000))
            throw std::runtime_error("python3 did not start");
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(10000))
                throw std::runtime_error("the loopback server did not report its port");
        const QByteArray line = process_.readLine().trimmed();
        if (!line.startsWith("PORT "))
            throw std::runtime_error("unexpected server output: " + line.toStdString());
        port_ = line.mid(5).toInt();
    }
    ~LoopbackServer() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    // Base URL whose path selects the server's behaviour ("status/404", "close", ...).
    QUrl url(const QString& path = {}, const QString& scheme = "http") const {
        QUrl url;
        url.setScheme(scheme);
        url.setHost("127.0.0.1");
        url.setPort(port_);
        if (!path.isEmpty())
            url.setPath('/' + path);
        return url;
    }

private:
    QProcess process_;
    int port_ = 0;
};

// Runs a task to its end on a local event loop; its exception, if any, comes back instead of being lost.
template <class T> struct Outcome {
    std::optional<T> value;
    std::exception_ptr error;
};

template <class T> Outcome<T> runTask(QCoro::Task<T> task, int timeoutMs = 60000) {
    Outcome<T> outcome;
    bool done = false;
    QEventLoop loop;
    auto wrapper = [&]() -> QCoro::Task<void> {
        try {
            outcome.value = co_await std::move(task);
        } catch (...) {
            outcome.error = std::current_exception();
        }
        done = true;
        loop.quit();
    };
    auto running = wrapper();
    if (!done) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!done)
        throw std::runtime_error("task did not finish in time");
    return outcome;
}

inline std::exception_ptr runVoidTask(QCoro::Task<void> task, int timeoutMs = 60000) {
    auto wrapped = [](QCoro::Task<void> inner) -> QCoro::Task<bool> {
        co_await std::move(inner);
        co_return true;
    };
    return runTask(wrapped(std::move(task)), timeoutMs).error;
}

// Rethrows a stored failure as E; fails when there was none or it was of another type.
template <class E> std::optional<E> errorAs(std::exception_ptr error) {
    if (!error)
        return std::nullopt;
    try {
        std::rethrow_exception(error);
    } catch (const E& e) {
        return e;
    } catch (...) {
        return std::nullopt;
    }
    return std::nullopt;
}
