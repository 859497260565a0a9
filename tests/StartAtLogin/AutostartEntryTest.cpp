#include "LogCapture.h"
#include "StartAtLogin/StartAtLogin.h"
#include "StartAtLogin/Toggle.h"
#include "platform/Services.h"
#include "platform/linux/XdgAutostartLoginItem.h"
#include "support/TempXdg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

using platform::LoginItemService;
using platform::linux_::XdgAutostartLoginItem;

namespace {

// The real adapter, with every call it gets written down.
class RecordingAdapter : public XdgAutostartLoginItem {
public:
    using XdgAutostartLoginItem::XdgAutostartLoginItem;
    QStringList changes;
    std::optional<Error> registerItem() override {
        changes << "register";
        return XdgAutostartLoginItem::registerItem();
    }
    std::optional<Error> unregisterItem() override {
        changes << "unregister";
        return XdgAutostartLoginItem::unregisterItem();
    }
};

struct RealAutostart {
    explicit RealAutostart(QString executable = QCoreApplication::applicationFilePath())
        : adapter(std::make_shared<RecordingAdapter>("app.tolvane.Tolvane", "Tolvane", executable)) {}
    TempXdg xdg;
    std::shared_ptr<RecordingAdapter> adapter;
    platform::Override<LoginItemService> guard{adapter};

    QString entry() const { return xdg.configHome() + "/autostart/app.tolvane.Tolvane.desktop"; }
    QString systemEntry() const { return xdg.home() + "/etc/xdg/autostart/app.tolvane.Tolvane.desktop"; }
};

// desktop-file-validate's verdict; empty when the entry is valid.
QString validationProblems(const QString& path) {
    QProcess validate;
    validate.start("desktop-file-validate", {path});
    if (!validate.waitForFinished(30000))
        return "desktop-file-validate did not run";
    const QString output = validate.readAllStandardOutput() + validate.readAllStandardError();
    return validate.exitCode() == 0 && output.trimmed().isEmpty() ? QString() : output;
}

QStringList entryLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(AutostartEntry, OffToOnWritesAValidEntryForThisBinaryAndOnToOffRemovesIt) {
    RealAutostart fixture;
    StartAtLogin::Toggle toggle;
    toggle.show();
    EXPECT_FALSE(toggle.isOn());
    EXPECT_FALSE(QFileInfo::exists(fixture.xdg.configHome() + "/autostart")) << "nothing written by reading";

    QTest::mouseClick(toggle.control(), Qt::LeftButton);
    EXPECT_TRUE(toggle.isOn());
    EXPECT_EQ(fixture.adapter->changes, QStringList{"register"});
    ASSERT_TRUE(QFileInfo(fixture.entry()).isFile());
    EXPECT_EQ(validationProblems(fixture.entry()), "");

    const QStringList lines = entryLines(fixture.entry());
    EXPECT_EQ(lines.value(0), "[Desktop Entry]");
    const QString binary = QCoreApplication::applicationFilePath();
    ASSERT_TRUE(QDir::isAbsolutePath(binary));
    EXPECT_TRUE(lines.contains("Exec=env TOLVANE_LAUNCHED_AS_LOGIN_ITEM=1 " + binary + " --autostart"))
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains("Type=Application"));
    EXPECT_TRUE(lines.contains("X-KDE-autostart-after=panel"));
    EXPECT_TRUE(lines.contains("X-LXQt-Need-Tray=true"));
    EXPECT_EQ(lines.filter(QRegularExpression("^X-GNOME-Autostart-Delay=[0-9]+$")).size(), 1);
    EXPECT_TRUE(
        QDir(fixture.xdg.configHome() + "/autostart").entryList({"*.desktop.*"}, QDir::Files).isEmpty())
        << "no temporary file left behind";

    QTest::mouseClick(toggle.control(), Qt::LeftButton);
    EXPECT_FALSE(toggle.isOn());
    EXPECT_FALSE(QFileInfo::exists(fixture.entry()));
    EXPECT_EQ(fixture.adapter->changes, (QStringList{"register", "unregister"}));
}

TEST(AutostartEntry, OnWhileOnUnregistersThenRegistersAFreshEntry) {
    RealAutostart fixture;
    fixture.xdg.writeFile(fixture.entry(),
                          "[Desktop Entry]\nType=Application\nName=Tolvane\nExec=/old/place/tolvane\n");
    EXPECT_TRUE(StartAtLogin::isLoginItemEnabled());

    StartAtLogin::setLoginItemEnabled(true);
    EXPECT_EQ(fixture.adapter->changes, (QStringList{"unregister", "register"}));
    EXPECT_TRUE(StartAtLogin::isLoginItemEnabled());
    EXPECT_FALSE(entryLines(fixture.entry()).contains("Exec=/old/place/tolvane"))
        << "a moved binary is followed";
}

TEST(AutostartEntry, EnabledExactlyWhenTheEffectiveEntryIsNotSwitchedOff) {
    RealAutostart fixture;
    fixture.xdg.writeFile(fixture.entry(),
                          "[Desktop Entry]\nType=Application\nName=Tolvane\nExec=x\nHidden=true\n");
    EXPECT_FALSE(StartAtLogin::isLoginItemEnabled());
    fixture.xdg.writeFile(
        fixture.entry(),
        "[Desktop Entry]\nType=Application\nName=Tolvane\nExec=x\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_FALSE(StartAtLogin::isLoginItemEnabled());
    fixture.xdg.writeFile(fixture.entry(), "[Desktop Entry]\nName=Tolvane\nExec=x\n[Other]\nHidden=true\n");
    EXPECT_TRUE(StartAtLogin::isLoginItemEnabled()) << "only the main group counts";
    QFile::remove(fixture.entry());
    EXPECT_FALSE(StartAtLogin::isLoginItemEnabled());
}

TEST(AutostartEntry, ASystemWideEntryIsHiddenWhenTurnedOffAndOverriddenWhenTurnedOn) {
    RealAutostart fixture;
    fixture.xdg.writeFile(fixture.systemEntry(),
                          "[Desktop Entry]\nType=Application\nName=Tolvane\nExec=tolvane\n");
    EXPECT_TRUE(StartAtLogin::isLoginItemEnabled());

    StartAtLogin::setLoginItemEnabled(false);
    EXPECT_FALSE(StartAtLogin::isLoginItemEnabled());
    EXPECT_TRUE(entryLines(fixture.entry()).contains("Hidden=true"));
    EXPECT_EQ(validationProblems(fixture.entry()), "");

    StartAtLogin::setLoginItemEnabled(true);
    EXPECT_TRUE(StartAtLogin::isLoginItemEnabled());
    EXPECT_FALSE(entryLines(fixture.entry()).contains("Hidden=true"));
}

TEST(AutostartEntry, AnUnwritableFolderLogsTheEnableLineAndTheSwitchStaysOff) {
    RealAutostart fixture;
    // Running as root ignores permissions, so block the folder with a regular file instead.
    const QString blocker = fixture.xdg.writeFile(fixture.xdg.home() + "/not-a-folder", "x");
    qputenv("XDG_CONFIG_HOME", (blocker + "/config").toUtf8());
    LogCapture log("com.quellmark.StartAtLogin.main");

    StartAtLogin::Toggle toggle;
    toggle.show();
    QTest::mouseClick(toggle.control(), Qt::LeftButton);

    EXPECT_FALSE(toggle.isOn());
    ASSERT_EQ(log.entries.size(), 1);
    EXPECT_EQ(log.entries[0].type, QtCriticalMsg);
    EXPECT_TRUE(log.entries[0].message.startsWith(
        "Failed to enable launch at login: Could not create the folder " + blocker + "/config/autostart: "))
        << log.entries[0].message.toStdString();
}

TEST(AutostartEntry, AnEntryThatCannotBeRemovedLogsTheDisableLine) {
    RealAutostart fixture;
    // A non-empty folder where the entry should be: it can be neither removed nor replaced.
    fixture.xdg.writeFile(fixture.entry() + "/keep", "x");
    LogCapture log("com.quellmark.StartAtLogin.main");

    StartAtLogin::setLoginItemEnabled(false);
    ASSERT_EQ(log.entries.size(), 1);
    EXPECT_TRUE(log.entries[0].message.startsWith("Failed to disable launch at login: Could not remove " +
                                                  fixture.entry() + ": "))
        << log.entries[0].message.toStdString();
    EXPECT_FALSE(StartAtLogin::isLoginItemEnabled()) << "a folder is no entry";
}

TEST(AutostartEntry, TheCommandStartsThisBinaryMarkedAsALoginLaunch) {
    // A path with spaces, quotes, '$' and '%' must survive the entry's quoting rules.
    TempXdg outside;
    const QString folder = outside.home() + "/My \"Apps\" $HOME 100%";
    const QString report = outside.home() + "/report";
    const QString program =
        outside.writeFile(folder + "/run me", "#!/bin/sh\necho \"$0|$TOLVANE_LAUNCHED_AS_LOGIN_ITEM\" > '" +
                                                  report.toUtf8() + "'\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    RealAutostart fixture(program);
    StartAtLogin::setLoginItemEnabled(true);
    ASSERT_EQ(validationProblems(fixture.entry()), "");

    // GLib reads and runs the entry the way session managers do.
    QProcess launch;
    launch.start("gio", {"launch", fixture.entry()});
    ASSERT_TRUE(launch.waitForFinished(30000));
    ASSERT_EQ(launch.exitCode(), 0) << launch.readAllStandardError().toStdString();
    QTRY_VERIFY_WITH_TIMEOUT(QFile(report).size() > 0, 10000);
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).trimmed(), program + "|1");
}

TEST(AutostartEntry, TheLaunchMarkerIsReadOnceAndNotPassedOn) {
    qputenv(XdgAutostartLoginItem::launchMarker, "1");
    XdgAutostartLoginItem atLogin("app.tolvane.Tolvane", "Tolvane", "/usr/bin/tolvane");
    EXPECT_TRUE(atLogin.launchedAsLoginItem());
    EXPECT_FALSE(qEnvironmentVariableIsSet(XdgAutostartLoginItem::launchMarker));

    XdgAutostartLoginItem byHand("app.tolvane.Tolvane", "Tolvane", "/usr/bin/tolvane");
    EXPECT_FALSE(byHand.launchedAsLoginItem());
}
