// SPDX-License-Identifier: GPL-3.0-or-later
// Async and throwing buttons driven through real mouse and key events on the offscreen platform.
#include "FakeClock.h"

#include "TaskButtons/AsyncButton.h"
#include "TaskButtons/BarProgressView.h"
#include "TaskButtons/DiscreteProgress.h"
#include "TaskButtons/Environment.h"
#include "TaskButtons/EstimatedProgress.h"
#include "TaskButtons/IndeterminateProgressView.h"
#include "TaskButtons/LeadingAsyncButtonStyle.h"
#include "TaskButtons/NoStyleAsyncButtonStyle.h"
#include "TaskButtons/NoStyleThrowableButtonStyle.h"
#include "TaskButtons/OnAsyncButtonTaskChangeModifier.h"
#include "TaskButtons/PlatformButton.h"
#include "TaskButtons/StyleViews.h"
#include "TaskButtons/ThrowableButton.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace TaskButtons;
using namespace TaskButtonsTest;

namespace {

class Gate : public QObject {
    Q_OBJECT
signals:
    void opened();
};

// An action that runs until the test opens the gate, then succeeds or throws as told.
struct Script {
    Gate gate;
    int runs = 0;
    int finished = 0;
    bool fail = false;
    bool honourCancel = true;
    std::optional<CancellationToken> lastToken;

    AsyncButton::SimpleAction action() {
        return [this](CancellationToken token) { return run(this, std::move(token)); };
    }
    void open() {
        emit gate.opened();
        drain();
    }

private:
    static QCoro::Task<> run(Script* s, CancellationToken token) {
        ++s->runs;
        s->lastToken = token;
        const CancellationToken honoured = s->honourCancel ? token : CancellationToken();
        SignalOrCancellation open(&s->gate, &Gate::opened, honoured);
        const bool opened = co_await open;
        ++s->finished;
        if (!opened)
            throw CancellationError();
        if (s->fail)
            throw std::runtime_error("refused");
    }
};

// A shown window holding buttons; clicks go through the window so hit testing applies.
struct Window {
    QWidget widget;
    QVBoxLayout* layout = new QVBoxLayout(&widget);

    template <typename Button> Button* add(Button* button) {
        layout->addWidget(button);
        return button;
    }
    void show() {
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }
    QPoint centreOf(QWidget* w) const { return w->mapTo(&widget, w->rect().center()); }
    void click(ButtonBase* b) {
        QTest::mouseClick(widget.windowHandle(), Qt::LeftButton, {}, centreOf(b->platformButton()));
        drain();
    }
    void doubleClick(ButtonBase* b) {
        const QPoint at = centreOf(b->platformButton());
        QTest::mouseDClick(widget.windowHandle(), Qt::LeftButton, {}, at);
        drain();
    }
};

} // namespace

TEST(AsyncButtonTest, ADoubleClickStartsOneRun) {
    Window w;
    Script script;
    auto* button = w.add(new AsyncButton("Submit", script.action()));
    w.show();
    w.doubleClick(button);
    EXPECT_EQ(script.runs, 1);
    EXPECT_TRUE(button->isRunning());
    w.click(button);
    EXPECT_EQ(script.runs, 1) << "a click while running starts nothing";

    script.open();
    EXPECT_FALSE(button->isRunning());
    EXPECT_EQ(button->errorCount(), 0);
    w.click(button);
    EXPECT_EQ(script.runs, 2) << "idle again: the next click runs";
    script.open();
}

TEST(AsyncButtonTest, FailuresAndCancellationCountAsErrors) {
    Window w;
    Script script;
    auto* button = w.add(new AsyncButton("Submit", script.action()));
    w.show();
    QSignalSpy errors(button, &ButtonBase::errorCountChanged);

    script.fail = true;
    button->start();
    script.open();
    EXPECT_EQ(button->errorCount(), 1) << "a thrown error";

    script.fail = false;
    button->start();
    button->cancel();
    EXPECT_FALSE(button->isRunning()) << "idle at once";
    EXPECT_TRUE(script.lastToken->isCancelled());
    drain();
    EXPECT_EQ(script.finished, 2);
    EXPECT_EQ(button->errorCount(), 2) << "a cancelled run is a failed run";

    script.honourCancel = false; // an action that finishes normally despite the cancel
    button->start();
    button->cancel();
    script.open();
    EXPECT_EQ(button->errorCount(), 3);
    EXPECT_EQ(errors.count(), 3);

    button->start();
    script.open();
    EXPECT_EQ(button->errorCount(), 3) << "success adds nothing";
}

TEST(AsyncButtonTest, TheStyleCancelCallbackCancelsTheRun) {
    Window w;
    Script script;
    auto* button = w.add(new AsyncButton("Go", script.action()));
    w.show();
    button->start();
    button->state().cancel();
    drain();
    EXPECT_FALSE(button->isRunning());
    EXPECT_EQ(button->errorCount(), 1);
}

TEST(AsyncButtonTest, ARunStartedAfterACancelKeepsItsTaskAndProgress) {
    Window w;
    Script first, second;
    int which = 0;
    FakeClock clock;
    auto progress = std::make_shared<EstimatedProgress>(std::make_shared<FakeSleeper>(&clock, 1s),
                                                        std::make_shared<FakeSleeper>(&clock, 100ms));
    auto* button = w.add(new AsyncButton(
        "Go",
        [&](TaskProgress&, CancellationToken token) {
            return (which++ == 0 ? first.action() : second.action())(std::move(token));
        },
        progress));
    w.show();
    first.honourCancel = false; // the old action lingers after its cancel
    button->start();
    button->cancel();
    button->start();
    ASSERT_TRUE(button->isRunning());
    const auto newTask = button->task();
    clock.advance(85ms);
    first.open(); // the old run ends while the new one runs
    EXPECT_EQ(button->errorCount(), 1);
    EXPECT_EQ(button->task(), newTask) << "the old run must not clear the new run's task";
    EXPECT_NEAR(*progress->fractionCompleted(), 0.085, 1e-9) << "nor end the new run's progress";
    second.open();
    clock.advance(100ms);
    EXPECT_FALSE(button->isRunning());
}

TEST(AsyncButtonTest, LoadingLooksAndHitTestingFollowTheEnvironment) {
    Window w;
    Script script;
    auto* button = w.add(new AsyncButton("Submit", script.action()));
    w.show();
    int clicks = 0;
    QObject::connect(button->platformButton(), &QPushButton::clicked, [&] { ++clicks; });

    // Defaults: a running button still looks enabled, but the pointer passes through it.
    w.click(button);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(button->platformButton()->isEnabled());
    w.click(button);
    EXPECT_EQ(clicks, 1) << "the running button is not hit";
    script.open();

    setDisabledWhenLoading(&w.widget, true);
    setAllowsHitTestingWhenLoading(&w.widget, true);
    button->start();
    EXPECT_FALSE(button->platformButton()->isEnabled()) << "shown disabled while running";
    script.open();
    EXPECT_TRUE(button->platformButton()->isEnabled());

    setDisabledWhenLoading(&w.widget, false);
    clicks = 0;
    w.click(button);
    w.click(button);
    EXPECT_EQ(clicks, 2) << "hit testing stays on while running";
    EXPECT_EQ(script.runs, 3) << "but a click while running starts nothing";
    script.open();
}

TEST(AsyncButtonTest, ADisabledButtonIgnoresClicksTriggersAndShortcuts) {
    Window w;
    Script script;
    auto registry = std::make_shared<TriggerButton>();
    setTriggerButton(&w.widget, registry);
    auto* button = w.add(new AsyncButton("Submit", script.action(), ButtonOptions{{}, QString("submit")}));
    button->setDefaultAction();
    w.show();
    ASSERT_TRUE(registry->contains("submit"));

    button->setEnabled(false);
    registry->trigger("submit");
    button->start();
    w.click(button);
    EXPECT_EQ(script.runs, 0);

    button->setEnabled(true);
    registry->trigger("submit");
    EXPECT_EQ(script.runs, 1);
    script.open();
}

TEST(AsyncButtonTest, ReturnPressesTheDefaultButton) {
    Window w;
    Script script;
    auto* field = w.add(new QLabel("message"));
    Q_UNUSED(field);
    auto* button = w.add(new AsyncButton("Submit", script.action()));
    button->setDefaultAction();
    w.show();
    w.widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.widget));
    QTest::keyClick(w.widget.windowHandle(), Qt::Key_Return);
    drain();
    EXPECT_EQ(script.runs, 1);
    EXPECT_TRUE(button->platformButton()->isDefault());
    script.open();
    QTest::keyClick(w.widget.windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    drain();
    EXPECT_EQ(script.runs, 2);
    script.open();
}

TEST(AsyncButtonTest, RegistersForTriggeringOnlyWhileOnScreen) {
    Window w;
    Script a, b;
    auto registry = std::make_shared<TriggerButton>();
    setTriggerButton(&w.widget, registry);
    auto* first = w.add(new AsyncButton("A", a.action(), ButtonOptions{{}, QString("go")}));
    w.show();
    auto* second = new AsyncButton("B", b.action(), ButtonOptions{{}, QString("go")});
    w.add(second);
    second->show();
    registry->trigger("go");
    EXPECT_EQ(b.runs, 1) << "the later button wins";
    EXPECT_EQ(a.runs, 0);
    b.open();

    first->hide();
    registry->trigger("go");
    EXPECT_EQ(b.runs, 2) << "the earlier button leaving does not unregister the later one";
    b.open();

    second->hide();
    EXPECT_FALSE(registry->contains("go"));
    delete first;
    delete second;
    EXPECT_EQ(registry->size(), 0u);
}

TEST(AsyncButtonTest, TaskChangeHandlerSkipsOnlyTheFirstAbsentValue) {
    Window w;
    Script script;
    std::vector<std::optional<ButtonTask>> seen;
    auto* modifier = OnAsyncButtonTaskChangeModifier::attach(
        &w.widget, [&](const std::optional<ButtonTask>& task) { seen.push_back(task); });
    auto* button = w.add(new AsyncButton("Submit", script.action()));
    w.show();
    EXPECT_TRUE(modifier->initialized());
    EXPECT_TRUE(seen.empty()) << "the idle button appearing is not reported";

    button->start();
    ASSERT_EQ(seen.size(), 1u);
    ASSERT_TRUE(seen[0].has_value());
    EXPECT_EQ(seen[0], button->task());

    script.open();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FALSE(seen[1].has_value()) << "the end of the run is reported";

    // The reported handle can stop the run from outside.
    button->start();
    ASSERT_EQ(seen.size(), 3u);
    seen[2]->cancel();
    drain();
    EXPECT_EQ(button->errorCount(), 1);
}

TEST(AsyncButtonTest, TaskChangeHandlerGetsAPresentFirstValue) {
    Script script;
    OnAsyncButtonTaskChangeModifier* modifier = nullptr;
    std::vector<std::optional<ButtonTask>> seen;
    QWidget outer;
    auto* layout = new QVBoxLayout(&outer);
    auto* button = new AsyncButton("Submit", script.action());
    layout->addWidget(button);
    button->start(); // running before anyone listens
    modifier =
        OnAsyncButtonTaskChangeModifier::attach(&outer, [&](const auto& task) { seen.push_back(task); });
    outer.show();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].has_value());
    EXPECT_TRUE(modifier->initialized());
    script.open();
}

TEST(AsyncButtonTest, EstimatedProgressHoldsTheFullBarBrieflyAfterTheAction) {
    Window w;
    Script script;
    FakeClock clock;
    auto progress = std::make_shared<EstimatedProgress>(std::make_shared<FakeSleeper>(&clock, 1s),
                                                        std::make_shared<FakeSleeper>(&clock, 100ms));
    auto* button = w.add(new AsyncButton(
        "Upload", [&](TaskProgress&, CancellationToken token) { return script.action()(std::move(token)); },
        progress));
    w.show();
    button->start();
    clock.advance(400ms);
    EXPECT_NEAR(*button->state().fractionCompleted(), 47 * 0.0085, 1e-9);
    auto* overlay = button->findChild<OverlayLabel*>();
    ASSERT_TRUE(overlay) << "the default style is the bar overlay";
    EXPECT_EQ(overlay->currentIndicator(), static_cast<QWidget*>(overlay->bar()));

    script.open();
    EXPECT_TRUE(button->isRunning()) << "still running while the progress settles";
    EXPECT_EQ(button->state().fractionCompleted(), 1.0);
    clock.advance(99ms);
    EXPECT_TRUE(button->isRunning());
    clock.advance(1ms);
    EXPECT_FALSE(button->isRunning());

    button->start();
    EXPECT_EQ(button->state().fractionCompleted(), 0.0) << "each run starts from a reset progress";
    script.open();
    clock.advance(100ms);
}

TEST(AsyncButtonTest, DefaultStylesShowASpinnerOverAnInvisibleLabel) {
    Window w;
    Script script;
    auto* button = w.add(new AsyncButton("Submit", script.action()));
    w.show();
    auto* overlay = button->findChild<OverlayLabel*>();
    ASSERT_TRUE(overlay);
    EXPECT_TRUE(button->findChild<ShakeView*>()) << "failures shake by default";
    button->start();
    EXPECT_EQ(overlay->labelFader()->targetOpacity(), 0.0);
    EXPECT_EQ(overlay->currentIndicator(), static_cast<QWidget*>(overlay->spinner()));
    script.open();
    EXPECT_EQ(overlay->labelFader()->targetOpacity(), 1.0);
}

TEST(AsyncButtonTest, StylesComeFromTheNearestAncestor) {
    Window w;
    Script script;
    auto* inner = new QWidget;
    auto* innerLayout = new QVBoxLayout(inner);
    setAsyncButtonStyle(&w.widget, NoStyleAsyncButtonStyle());
    setAsyncButtonStyle(inner, LeadingAsyncButtonStyle());
    setThrowableButtonStyle(&w.widget, NoStyleThrowableButtonStyle());
    auto* outerButton = w.add(new AsyncButton("Outer", script.action()));
    auto* innerButton = new AsyncButton("Inner", script.action());
    innerLayout->addWidget(innerButton);
    w.add(inner);
    w.show();
    EXPECT_FALSE(outerButton->findChild<OverlayLabel*>());
    EXPECT_FALSE(outerButton->findChild<ProgressIndicator*>());
    EXPECT_FALSE(outerButton->findChild<ShakeView*>());
    EXPECT_TRUE(innerButton->findChild<ProgressIndicator*>());
    EXPECT_FALSE(innerButton->findChild<ShakeView*>());
}

TEST(AsyncButtonTest, TheButtonGrowsToShowALeadingIndicator) {
    Window w;
    Script script;
    setAsyncButtonStyle(&w.widget, LeadingAsyncButtonStyle());
    auto* button = w.add(new AsyncButton("Send", script.action()));
    w.show();
    auto* platform = button->platformButton();
    const int idleWidth = platform->width();
    button->start();
    drain();
    EXPECT_GE(platform->width(), idleWidth + 16 + LeadingAsyncButtonStyle::spacing);
    EXPECT_TRUE(platform->rect().contains(platform->content()->geometry())) << "nothing is clipped";
    script.open();
    drain();
    EXPECT_EQ(platform->width(), idleWidth);
}

TEST(AsyncButtonTest, ReportedProgressReachesTheStyles) {
    Window w;
    auto progress = std::make_shared<DiscreteProgress>(4);
    Gate gate;
    auto* button = w.add(new AsyncButton(
        "Copy",
        [&](TaskProgress& p, CancellationToken token) -> QCoro::Task<> {
            return [](DiscreteProgress& d, Gate& g, CancellationToken t) -> QCoro::Task<> {
                d.setCompletedUnitCount(3);
                SignalOrCancellation open(&g, &Gate::opened, t);
                co_await open;
            }(dynamic_cast<DiscreteProgress&>(p), gate, std::move(token));
        },
        progress));
    w.show();
    button->start();
    EXPECT_EQ(button->state().fractionCompleted(), 0.75);
    emit gate.opened();
    drain();
    EXPECT_FALSE(button->isRunning());
}

TEST(AsyncButtonTest, DestroyingARunningButtonCancelsItsAction) {
    Script script;
    auto* button = new AsyncButton("Submit", script.action());
    button->show();
    button->start();
    delete button;
    drain();
    EXPECT_TRUE(script.lastToken->isCancelled());
    EXPECT_EQ(script.finished, 1);
}

TEST(ButtonLabelTest, TitlesIconsAndTranslatedKeys) {
    struct German : QTranslator {
        QString translate(const char* context, const char* source, const char*, int) const override {
            return QByteArray(context) == "Feedback" && QByteArray(source) == "Submit" ? "Senden" : QString();
        }
        bool isEmpty() const override { return false; }
    };
    Script script;
    AsyncButton plain("Submit", script.action());
    AsyncButton keyed(LocalizedStringKey("Feedback", "Submit"), script.action());
    AsyncButton withIcon({QString("Send"), SystemImage("mail-send")}, script.action());
    AsyncButton custom([] { return new QLabel("custom"); }, script.action());
    EXPECT_EQ(plain.findChild<TitleLabel*>()->text(), "Submit");
    EXPECT_EQ(keyed.findChild<TitleLabel*>()->text(), "Submit");
    EXPECT_EQ(withIcon.findChild<TitleLabel*>()->findChildren<QLabel*>().size(), 2);
    EXPECT_TRUE(custom.findChild<QLabel*>());

    German german;
    QCoreApplication::installTranslator(&german);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(keyed.findChild<TitleLabel*>()->text(), "Senden") << "a key follows the language";
    EXPECT_EQ(plain.findChild<TitleLabel*>()->text(), "Submit") << "a plain title is never translated";
    QCoreApplication::removeTranslator(&german);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(keyed.findChild<TitleLabel*>()->text(), "Submit");
}

TEST(ThrowableButtonTest, CountsThrowsAndRespectsEnabledState) {
    Window w;
    bool fail = true;
    int calls = 0;
    auto registry = std::make_shared<TriggerButton>();
    setTriggerButton(&w.widget, registry);
    auto* button = w.add(new ThrowableButton(
        "Delete",
        [&] {
            ++calls;
            if (fail)
                throw std::runtime_error("no");
        },
        ButtonOptions{ButtonRole::destructive, QString("delete")}));
    w.show();
    EXPECT_TRUE(button->findChild<ShakeView*>());
    w.click(button);
    EXPECT_EQ(button->errorCount(), 1);
    fail = false;
    registry->trigger("delete");
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(button->errorCount(), 1);
    EXPECT_EQ(button->role(), ButtonRole::destructive);

    button->setEnabled(false);
    registry->trigger("delete");
    EXPECT_EQ(calls, 2);
}

#include "ButtonsTest.moc"
