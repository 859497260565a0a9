// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartAtLogin/StartAtLogin.h"
#include "StartAtLogin/Toggle.h"
#include "app/ui/main/Adapters.h"
#include "platform/Services.h"
#include "platform/linux/session/XdgAutostartLoginItem.h"
#include "support/LogCapture.h"
#include "support/TempXdg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
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

// An executable script at `path` that writes its name, the launch marker and its arguments to `report`.
QString reportingProgram(const TempXdg& xdg, const QString& path, const QString& report) {
    const QString program = xdg.writeFile(
        path, "#!/bin/sh\necho \"$0|$TOLVANE_LAUNCHED_AS_LOGIN_ITEM|$*\" > '" + report.toUtf8() + "'\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return program;
}

// Runs the entry through GLib, the way session managers do, and returns what its program reported.
QString launchAndReport(const QString& entry, const QString& report) {
    QProcess launch;
    launch.start("gio", {"launch", entry});
    if (!launch.waitForFinished(30000) || launch.exitCode() != 0)
        return "gio launch failed: " + launch.readAllStandardError();
    QDeadlineTimer deadline(10000);
    while (QFileInfo(report).size() == 0 && !deadline.hasExpired())
        QTest::qWait(20);
    QFile file(report);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : "no report";
}

QString thisBinary() {
    return QCoreApplication::applicationFilePath();
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
    const QString old = reportingProgram(fixture.xdg, fixture.xdg.home() + "/old-place/tolvane", "/dev/null");
    fixture.xdg.writeFile(fixture.entry(),
                          "[Desktop Entry]\nType=Application\nName=Tolvane\nExec=" + old.toUtf8() + "\n");
    EXPECT_TRUE(StartAtLogin::isLoginItemEnabled());

    StartAtLogin::setLoginItemEnabled(true);
    EXPECT_EQ(fixture.adapter->changes, (QStringList{"unregister", "register"}));
    EXPECT_TRUE(StartAtLogin::isLoginItemEnabled());
    EXPECT_FALSE(entryLines(fixture.entry()).contains("Exec=" + old)) << "a moved binary is followed";
}

TEST(AutostartEntry, EnabledExactlyWhenTheEffectiveEntryIsNotSwitchedOffAndItsProgramExists) {
    RealAutostart fixture;
    const QByteArray exec = "Exec=" + thisBinary().toUtf8() + "\n";
    const auto enabledWith = [&](const QByteArray& lines) {
        fixture.xdg.writeFile(fixture.entry(), "[Desktop Entry]\nType=Application\nName=Tolvane\n" + lines);
        return StartAtLogin::isLoginItemEnabled();
    };
    EXPECT_FALSE(enabledWith(exec + "Hidden=true\n"));
    EXPECT_FALSE(enabledWith(exec + "X-GNOME-Autostart-enabled=false\n"));
    EXPECT_TRUE(enabledWith(exec + "[Other]\nHidden=true\n")) << "only the main group counts";

    // The session skips an entry whose program is gone, as after moving an AppImage out of Downloads.
    EXPECT_FALSE(enabledWith("TryExec=/gone/Tolvane.AppImage\n" + exec));
    EXPECT_FALSE(enabledWith("Exec=/gone/Tolvane.AppImage --autostart\n"));
    EXPECT_FALSE(enabledWith("Exec=env TOLVANE_LAUNCHED_AS_LOGIN_ITEM=1 \"/gone/My Apps/tolvane\"\n"));
    EXPECT_FALSE(enabledWith("Exec=no-such-program-on-the-path\n"));
    EXPECT_FALSE(enabledWith("Name[de]=Tolvane\n")) << "nothing to start";
    EXPECT_TRUE(enabledWith("Exec=sh -c true\n")) << "found on the path";
    EXPECT_TRUE(enabledWith("TryExec=" + thisBinary().toUtf8() + "\nExec=env A=1 B=2 " +
                            thisBinary().toUtf8() + " --autostart\n"));

    QFile::remove(fixture.entry());
    EXPECT_FALSE(StartAtLogin::isLoginItemEnabled());
}

TEST(AutostartEntry, ASystemWideEntryIsHiddenWhenTurnedOffAndOverriddenWhenTurnedOn) {
    RealAutostart fixture;
    fixture.xdg.writeFile(fixture.systemEntry(), "[Desktop Entry]\nType=Application\nName=Tolvane\nExec=" +
                                                     thisBinary().toUtf8() + "\n");
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
    ASSERT_EQ(log.entries().size(), 1);
    EXPECT_EQ(log.entries()[0].type, QtCriticalMsg);
    EXPECT_TRUE(log.entries()[0].message.startsWith(
        "Failed to enable launch at login: Could not create the folder " + blocker + "/config/autostart: "))
        << log.entries()[0].message.toStdString();
}

TEST(AutostartEntry, AnEntryThatCannotBeRemovedLogsTheDisableLine) {
    RealAutostart fixture;
    // A non-empty folder where the entry should be: it can be neither removed nor replaced.
    fixture.xdg.writeFile(fixture.entry() + "/keep", "x");
    LogCapture log("com.quellmark.StartAtLogin.main");

    StartAtLogin::setLoginItemEnabled(false);
    ASSERT_EQ(log.entries().size(), 1);
    EXPECT_TRUE(log.entries()[0].message.startsWith("Failed to disable launch at login: Could not remove " +
                                                    fixture.entry() + ": "))
        << log.entries()[0].message.toStdString();
    EXPECT_FALSE(StartAtLogin::isLoginItemEnabled()) << "a folder is no entry";
}

TEST(AutostartEntry, TheCommandStartsThisBinaryMarkedAsALoginLaunch) {
    // A path with spaces, quotes, '$' and '%' must survive the entry's quoting rules.
    TempXdg outside;
    const QString folder = outside.home() + "/My \"Apps\" $HOME 100%";
    const QString report = outside.home() + "/report";
    const QString program = reportingProgram(outside, folder + "/run me", report);

    RealAutostart fixture(program);
    StartAtLogin::setLoginItemEnabled(true);
    ASSERT_EQ(validationProblems(fixture.entry()), "");
    EXPECT_EQ(launchAndReport(fixture.entry(), report), program + "|1|--autostart");
}

TEST(AutostartEntry, StartingFromANewPlaceMovesTheEntryAlongWithItsArguments) {
    RealAutostart fixture;
    const QString report = fixture.xdg.home() + "/report";
    const QString moved =
        reportingProgram(fixture.xdg, fixture.xdg.home() + "/My Apps 100%/Tolvane.AppImage", report);
    const QByteArray before = "[Desktop Entry]\n# mine\nType=Application\nName=Tolvane\n"
                              "TryExec=/home/me/Downloads/Tolvane.AppImage\n"
                              "Exec=env TOLVANE_LAUNCHED_AS_LOGIN_ITEM=1 /home/me/Downloads/Tolvane.AppImage "
                              "--autostart \"--name=a b\"\n"
                              "X-GNOME-Autostart-Delay=9\n";
    fixture.xdg.writeFile(fixture.entry(), before);
    EXPECT_FALSE(StartAtLogin::isLoginItemEnabled());

    // The image is started from its new place: start-up brings the entry along.
    const QByteArray savedImage = qgetenv("APPIMAGE");
    qputenv("APPIMAGE", moved.toUtf8());
    Tolvane::adapters::installStartAtLoginAdapters();
    EXPECT_TRUE(StartAtLogin::isLoginItemEnabled());
    const QStringList lines = entryLines(fixture.entry());
    EXPECT_TRUE(lines.contains("TryExec=" + moved)) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains("# mine") && lines.contains("X-GNOME-Autostart-Delay=9"));
    EXPECT_EQ(validationProblems(fixture.entry()), "");

    EXPECT_EQ(launchAndReport(fixture.entry(), report), moved + "|1|--autostart --name=a b");

    // Another copy that still exists keeps the entry: a second build must not take it over.
    const QByteArray elsewhere =
        "[Desktop Entry]\nType=Application\nName=Tolvane\nExec=/bin/true --autostart\n";
    fixture.xdg.writeFile(fixture.entry(), elsewhere);
    Tolvane::adapters::installStartAtLoginAdapters();
    EXPECT_EQ(fixture.xdg.readFile(fixture.entry()), elsewhere);

    // Switched off, or never on: left as it is.
    const QByteArray hidden = before + "Hidden=true\n";
    fixture.xdg.writeFile(fixture.entry(), hidden);
    Tolvane::adapters::installStartAtLoginAdapters();
    EXPECT_EQ(fixture.xdg.readFile(fixture.entry()), hidden);
    QFile::remove(fixture.entry());
    Tolvane::adapters::installStartAtLoginAdapters();
    EXPECT_FALSE(QFileInfo::exists(fixture.entry()));
    if (savedImage.isNull())
        qunsetenv("APPIMAGE");
    else
        qputenv("APPIMAGE", savedImage);
}

TEST(AutostartEntry, TheLaunchMarkerIsReadOnceAndNotPassedOn) {
    qputenv(XdgAutostartLoginItem::launchMarker, "1");
    XdgAutostartLoginItem atLogin("app.tolvane.Tolvane", "Tolvane", "/usr/bin/tolvane");
    EXPECT_TRUE(atLogin.launchedAsLoginItem());
    EXPECT_FALSE(qEnvironmentVariableIsSet(XdgAutostartLoginItem::launchMarker));

    XdgAutostartLoginItem byHand("app.tolvane.Tolvane", "Tolvane", "/usr/bin/tolvane");
    EXPECT_FALSE(byHand.launchedAsLoginItem());
}
