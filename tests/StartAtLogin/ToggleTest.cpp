// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartAtLogin/Toggle.h"
#include "StartAtLogin/Observable.h"
#include "StartAtLogin/StartAtLogin.h"
#include "platform/Services.h"
#include "platform/fake/FakeLoginItemService.h"
#include "support/LogCapture.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

using platform::LoginItemService;
using platform::fake::FakeLoginItemService;
using Status = LoginItemService::Status;

namespace {

constexpr const char* category = "com.quellmark.StartAtLogin.main";

struct FakeService {
    std::shared_ptr<FakeLoginItemService> service = std::make_shared<FakeLoginItemService>();
    platform::Override<LoginItemService> guard{service};
};

// Translates every text, so an untranslated label stands out.
class ShoutingTranslator : public QTranslator {
public:
    QString translate(const char*, const char* sourceText, const char*, int) const override {
        return QString::fromUtf8(sourceText).toUpper();
    }
    bool isEmpty() const override { return false; }
};

} // namespace

TEST(StartAtLoginState, OnlyEnabledCountsAsOnAndEveryReadAsksTheService) {
    FakeService fake;
    for (Status status : {Status::notRegistered, Status::requiresApproval, Status::notFound}) {
        fake.service->current = status;
        EXPECT_FALSE(StartAtLogin::isLoginItemEnabled());
    }
    fake.service->current = Status::enabled;
    EXPECT_TRUE(StartAtLogin::isLoginItemEnabled());
    EXPECT_TRUE(StartAtLogin::sharedObservable().isLoginItemEnabled());
    EXPECT_EQ(fake.service->calls.count("status"), 5);
    EXPECT_EQ(&StartAtLogin::sharedObservable(), &StartAtLogin::sharedObservable());
}

TEST(StartAtLoginState, TurningOnRegistersAndUnregistersFirstOnlyWhenEnabled) {
    FakeService fake;
    LogCapture log(category);

    fake.service->current = Status::requiresApproval;
    StartAtLogin::setLoginItemEnabled(true);
    EXPECT_EQ(fake.service->changes(), QStringList{"register"});

    fake.service->calls.clear();
    StartAtLogin::setLoginItemEnabled(true); // on while on
    EXPECT_EQ(fake.service->changes(), (QStringList{"unregister", "register"}));

    // A failing clean-up before registering is neither fatal nor logged.
    fake.service->calls.clear();
    fake.service->unregisterError = LoginItemService::Error{"busy"};
    StartAtLogin::setLoginItemEnabled(true);
    EXPECT_EQ(fake.service->changes(), (QStringList{"unregister", "register"}));
    EXPECT_TRUE(log.entries().isEmpty());

    // Off while off still asks the service to unregister.
    fake.service->calls.clear();
    fake.service->unregisterError.reset();
    fake.service->current = Status::notRegistered;
    StartAtLogin::setLoginItemEnabled(false);
    EXPECT_EQ(fake.service->changes(), QStringList{"unregister"});
}

TEST(StartAtLoginState, FailuresAreLoggedOnceAtErrorLevelWithTheirDescription) {
    FakeService fake;
    LogCapture log(category);

    fake.service->registerError = LoginItemService::Error{"The operation couldn’t be completed."};
    StartAtLogin::setLoginItemEnabled(true);
    fake.service->current = Status::enabled;
    fake.service->unregisterError = LoginItemService::Error{"Operation not permitted"};
    StartAtLogin::sharedObservable().setLoginItemEnabled(false);

    ASSERT_EQ(log.entries().size(), 2);
    EXPECT_EQ(log.entries()[0].type, QtCriticalMsg);
    EXPECT_EQ(log.entries()[0].message,
              "Failed to enable launch at login: The operation couldn’t be completed.");
    EXPECT_EQ(log.entries()[1].type, QtCriticalMsg);
    EXPECT_EQ(log.entries()[1].message, "Failed to disable launch at login: Operation not permitted");
}

TEST(StartAtLoginState, LaunchedAsLoginItemComesFromTheService) {
    FakeService fake;
    EXPECT_FALSE(StartAtLogin::launchedAsLoginItem());
    fake.service->launchedAtLogin = true;
    EXPECT_TRUE(StartAtLogin::launchedAsLoginItem());
}

TEST(StartAtLoginToggle, RequiresApprovalShowsOffAndAClickRegistersWithoutUnregistering) {
    FakeService fake;
    fake.service->current = Status::requiresApproval;
    StartAtLogin::Toggle toggle;
    toggle.show();
    EXPECT_FALSE(toggle.isOn());

    fake.service->calls.clear();
    QTest::mouseClick(toggle.control(), Qt::LeftButton);
    EXPECT_EQ(fake.service->changes(), QStringList{"register"});
    EXPECT_TRUE(toggle.isOn());
}

TEST(StartAtLoginToggle, AFailedChangeShowsTheRealStateAndEverySwitchFollows) {
    FakeService fake;
    LogCapture log(category);
    StartAtLogin::Toggle clicked;
    StartAtLogin::Toggle other(QStringLiteral("Other"));
    StartAtLogin::Observable ownObservable;
    StartAtLogin::Toggle withOwnObservable(nullptr, &ownObservable);
    clicked.show();

    fake.service->registerError = LoginItemService::Error{"denied"};
    QTest::mouseClick(clicked.control(), Qt::LeftButton);
    EXPECT_FALSE(clicked.isOn()) << "flips back at once";
    ASSERT_EQ(log.entries().size(), 1);

    fake.service->registerError.reset();
    clicked.control()->click();
    EXPECT_TRUE(clicked.isOn());
    QCoreApplication::processEvents();
    EXPECT_TRUE(other.isOn());
    EXPECT_TRUE(withOwnObservable.isOn());

    // A change made without any switch reaches them too.
    StartAtLogin::setLoginItemEnabled(false);
    QCoreApplication::processEvents();
    EXPECT_FALSE(clicked.isOn());
    EXPECT_FALSE(other.isOn());
}

TEST(StartAtLoginToggle, ReReadsWhenShown) {
    FakeService fake;
    StartAtLogin::Toggle toggle;
    EXPECT_FALSE(toggle.isOn());
    fake.service->current = Status::enabled; // changed outside the app
    toggle.show();
    EXPECT_TRUE(toggle.isOn());
}

TEST(StartAtLoginToggle, FourLabelFormsAndOnlyTheKeyIsTranslated) {
    FakeService fake;
    ShoutingTranslator translator;
    QCoreApplication::installTranslator(&translator);

    EXPECT_EQ(StartAtLogin::Toggle().title(), "Launch at login");
    EXPECT_EQ(StartAtLogin::Toggle(QStringLiteral("Start with the session")).title(),
              "Start with the session");
    EXPECT_EQ(StartAtLogin::Toggle(StartAtLogin::Toggle::TitleKey{"Settings", "Open at login"}).title(),
              "OPEN AT LOGIN");

    QLabel* made = nullptr;
    StartAtLogin::Toggle custom([&] { return made = new QLabel("Mine"); });
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->parentWidget(), &custom);
    EXPECT_TRUE(custom.title().isEmpty());
    custom.show();
    EXPECT_TRUE(made->isVisible());
    EXPECT_GT(made->x(), custom.control()->x()) << "label beside the switch";

    QCoreApplication::removeTranslator(&translator);
}
