// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <coroutine>
#include <exception>
#include <memory>

namespace TaskButtons {

namespace detail {
// Shared between the copies of one token; carries the signal that wakes cancellable waits.
class CancellationState : public QObject {
    Q_OBJECT
public:
    bool cancelled = false;
signals:
    void cancelRequested();
};
} // namespace detail

// Thrown by an action that gives up because its run was cancelled.
class CancellationError : public std::exception {
public:
    const char* what() const noexcept override { return "The operation was cancelled."; }
};

// Cooperative cancellation: copies share one state; cancelling any copy wakes every wait that honours it.
// Main thread only.
class CancellationToken {
public:
    CancellationToken() : state_(std::make_shared<detail::CancellationState>()) {}

    void cancel() const {
        if (state_->cancelled)
            return;
        state_->cancelled = true;
        emit state_->cancelRequested();
    }
    bool isCancelled() const { return state_->cancelled; }
    void throwIfCancelled() const {
        if (isCancelled())
            throw CancellationError();
    }
    // Emits cancelRequested() once, when the token is cancelled.
    const detail::CancellationState* notifier() const { return state_.get(); }

    friend bool operator==(const CancellationToken& a, const CancellationToken& b) {
        return a.state_ == b.state_;
    }

private:
    std::shared_ptr<detail::CancellationState> state_;
};

// g++ 12 may destroy temporaries of a co_await expression twice: await only named objects, and build
// any argument that owns something (a token) in a statement of its own.

// Awaitable: suspends until `sender` emits `signal` or the token is cancelled. Yields true when the
// signal came first. The coroutine is resumed from the event loop, never from inside the emission, so
// the awaiting frame may destroy the sender as soon as it resumes.
template <typename Sender, typename Signal> class SignalOrCancellation {
public:
    SignalOrCancellation(const Sender* sender, Signal signal, CancellationToken token)
        : sender_(sender), signal_(signal), token_(std::move(token)) {}
    // Copied only before it is awaited (the coroutine machinery may move it into place).
    SignalOrCancellation(const SignalOrCancellation& other)
        : sender_(other.sender_), signal_(other.signal_), token_(other.token_) {}
    SignalOrCancellation& operator=(const SignalOrCancellation&) = delete;
    ~SignalOrCancellation() { disconnect(); }

    bool await_ready() const noexcept { return token_.isCancelled(); }
    void await_suspend(std::coroutine_handle<> handle) {
        handle_ = handle;
        fired_ = QObject::connect(sender_, signal_, [this] { finish(true); });
        cancelled_ = QObject::connect(token_.notifier(), &detail::CancellationState::cancelRequested,
                                      [this] { finish(false); });
    }
    bool await_resume() const noexcept { return signalled_; }

private:
    void finish(bool signalled) {
        if (done_)
            return;
        done_ = true;
        signalled_ = signalled;
        disconnect();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [h = handle_] { h.resume(); }, Qt::QueuedConnection);
    }
    void disconnect() {
        QObject::disconnect(fired_);
        QObject::disconnect(cancelled_);
    }

    const Sender* sender_;
    Signal signal_;
    CancellationToken token_;
    std::coroutine_handle<> handle_;
    QMetaObject::Connection fired_, cancelled_;
    bool done_ = false;
    bool signalled_ = false;
};

// Sleeps on the event loop; returns false as soon as the token is cancelled, true when the time is up.
QCoro::Task<bool> sleepFor(std::chrono::nanoseconds duration, CancellationToken token);

// A sleep nothing can cut short.
QCoro::Task<> sleepFor(std::chrono::nanoseconds duration);

} // namespace TaskButtons
