// SPDX-License-Identifier: GPL-3.0-or-later
// The automation service as a script sees it: a private session bus, the program started by the
// test (or by the bus itself), and every call made with gdbus or dbus-send.
#include "BusFixture.h"
#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <QUrl>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <csignal>

using Tolvane::SettingsStore::setBool;

namespace {

const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);

struct Installed {
    QString path;
    QString id;
};

class AutomationBus : public ::testing::Test {
protected:
    TempXdg xdg;
    PrivateBus bus;
    Installed alpha, beta, gamma;
    std::unique_ptr<AutomationProcess> app;

    void SetUp() override {
        ASSERT_TRUE(bus.running()) << "dbus-daemon did not start";
        const QString icon = xdg.home() + "/icons/alpha.png";
        QDir().mkpath(QFileInfo(icon).path());
        QImage image(48, 48, QImage::Format_ARGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(icon));
        alpha = install("org.example.alpha", "Alpha", "1.0", "Icon=" + icon.toUtf8() + "\n");
        beta = install("org.example.beta", "Beta", "2.5");
        gamma = install("org.example.gamma", "Gamma", "3");
        app = std::make_unique<AutomationProcess>(xdg);
        ASSERT_TRUE(app->start()) << qPrintable(app->stderrText());
    }

    Installed install(const QString& id, const QString& name, const QString& version,
                      const QByteArray& extra = {}) {
        const QString path =
            xdg.writeBrowserEntry(id, name, "X-AppImage-Version=" + version.toUtf8() + "\n" + extra);
        return {path, id + ":" + version + ":" + QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)};
    }

    QList<EntityOnBus> call(const QString& method, const QStringList& args = {}) {
        const CallResult result = gdbusCall(method, args);
        EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
        return parseEntities(result.out);
    }

    static QStringList ids(const QList<EntityOnBus>& entities) {
        QStringList list;
        for (const auto& entity : entities)
            list << entity.id;
        return list;
    }

    // The confirmation step runs in the background; its lines may follow the reply.
    bool waitForStdoutLine(const QString& line) {
        for (int i = 0; i < 100; ++i) {
            if (app->stdoutLines().contains(line))
                return true;
            QThread::msleep(50);
        }
        return false;
    }
};

TEST_F(AutomationBus, ListsEveryBrowserInCatalogueOrderWithNameSubtitleAndIcon) {
    const auto entities = call("SuggestedEntities");
    ASSERT_EQ(ids(entities), (QStringList{alpha.id, beta.id, gamma.id}));
    EXPECT_EQ(entities[0].displayName, "Alpha");
    EXPECT_EQ(entities[0].displaySubtitle, "The Alpha browser");
    EXPECT_EQ(entities[2].displaySubtitle, "The Gamma browser");
    ASSERT_TRUE(entities[0].image.startsWith(pngSignature));
    QImage icon;
    ASSERT_TRUE(icon.loadFromData(entities[0].image, "PNG"));
    EXPECT_EQ(icon.pixelColor(10, 10), QColor(Qt::darkCyan));
}

TEST_F(AutomationBus, EntitiesComeInCatalogueOrderOnceEachAndUnknownIdsAreDropped) {
    const auto entities =
        call("Entities",
             {gvariantStringArray({gamma.id, "org.example.none:1:file:///nowhere", alpha.id, gamma.id})});
    EXPECT_EQ(ids(entities), (QStringList{alpha.id, gamma.id}));
    EXPECT_TRUE(call("Entities", {gvariantStringArray({})}).isEmpty());
    // Whole-string, case-sensitive comparison.
    EXPECT_TRUE(call("Entities", {gvariantStringArray({alpha.id.toUpper(), alpha.id + " "})}).isEmpty());
}

TEST_F(AutomationBus, VersionSettingChangesTheNameButNotTheIdAtTheNextRequest) {
    ASSERT_EQ(call("Entities", {gvariantStringArray({beta.id})}).value(0).displayName, "Beta");
    ASSERT_TRUE(setBool(Tolvane::SettingsStore::showBrowserVersion, true));
    const auto entities = call("Entities", {gvariantStringArray({beta.id})});
    ASSERT_EQ(entities.size(), 1);
    EXPECT_EQ(entities[0].id, beta.id);
    EXPECT_EQ(entities[0].displayName, "Beta (2.5)");
    EXPECT_EQ(entities[0].displaySubtitle, "The Beta browser");
}

TEST_F(AutomationBus, AnUpdatedBrowserIsStillFoundByItsOlderId) {
    const QString oldId = alpha.id;
    alpha = install("org.example.alpha", "Alpha", "1.1");
    ASSERT_NE(alpha.id, oldId);
    EXPECT_EQ(ids(call("Entities", {gvariantStringArray({oldId})})), QStringList{alpha.id});
    EXPECT_EQ(ids(call("SuggestedEntities")).value(0), alpha.id);

    EXPECT_EQ(gdbusCall("SetDefaultSystemBrowser", {gvariantString(oldId)}).exitCode, 0);
    EXPECT_EQ(gdbusCall("PerformFocusFilter", {gvariantString(oldId)}).exitCode, 0);
    EXPECT_EQ(app->stdoutLines(), (QStringList{"Setting default browser to " + alpha.id,
                                               "Setting default browser to " + alpha.id}));
    const QStringList calls = app->handlerCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_TRUE(calls[0].startsWith("http org.example.alpha ") &&
                calls[1].startsWith("http org.example.alpha "))
        << calls.join(", ").toStdString();

    // An id of no installed browser is an error that names it, and nothing is switched.
    const QString unknown = "org.example.gone::file:///nowhere/gone.desktop";
    for (const QString method : {"SetDefaultSystemBrowser", "PerformFocusFilter"}) {
        const CallResult result = gdbusCall(method, {gvariantString(unknown)});
        EXPECT_NE(result.exitCode, 0) << qPrintable(method);
        EXPECT_TRUE(result.err.contains("app.tolvane.Tolvane.Error.NoSuchBrowser")) << qPrintable(result.err);
        EXPECT_TRUE(result.err.contains(unknown)) << qPrintable(result.err);
    }
    EXPECT_EQ(app->stdoutLines().mid(2),
              (QStringList{"No valid default browser is selected", "No valid default browser is selected"}));
    EXPECT_EQ(app->handlerCalls().size(), 2);
}

TEST_F(AutomationBus, SetDefaultSystemBrowserSwitchesOnTheMainThreadEveryTime) {
    for (int run = 0; run < 2; ++run) {
        const CallResult result = gdbusCall("SetDefaultSystemBrowser", {gvariantString(beta.id)});
        EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
        EXPECT_EQ(result.out.trimmed(), "()");
    }
    EXPECT_EQ(app->handlerCalls(), (QStringList{"http org.example.beta main", "http org.example.beta main"}));
    EXPECT_EQ(app->stdoutLines(), (QStringList{"Setting default browser to " + beta.id,
                                               "Setting default browser to " + beta.id}));
    EXPECT_EQ(app->stderrText().count("app.tolvane.Tolvane.TolvaSetBrowserIntent: Perform called"), 2);
}

TEST_F(AutomationBus, AutoConfirmSettingAppliesToTheAction) {
    ASSERT_TRUE(setBool(Tolvane::SettingsStore::autoConfirmChange, true));
    EXPECT_EQ(gdbusCall("SetDefaultSystemBrowser", {gvariantString(alpha.id)}).exitCode, 0);
    EXPECT_TRUE(waitForStdoutLine("Running script to confirm dialog"));
    EXPECT_TRUE(waitForStdoutLine("Script done."));
}

TEST_F(AutomationBus, EmptyIdIsNoSuchBrowserAndChangesNothing) {
    for (const QString method : {"SetDefaultSystemBrowser", "PerformFocusFilter"}) {
        const CallResult result = gdbusCall(method, {"''"});
        EXPECT_NE(result.exitCode, 0) << qPrintable(method);
        EXPECT_TRUE(result.err.contains("app.tolvane.Tolvane.Error.NoSuchBrowser")) << qPrintable(result.err);
    }
    EXPECT_EQ(app->stdoutLines(),
              (QStringList{"No valid default browser is selected", "No valid default browser is selected"}));
    EXPECT_TRUE(app->handlerCalls().isEmpty());
}

// A script may name a browser as the command line does: desktop file ID (".desktop" optional) or name.
TEST_F(AutomationBus, BrowsersAreFoundByDesktopFileIdAndNameToo) {
    const QString twin = xdg.writeBrowserEntry("org.example.twin", "Beta", "X-AppImage-Version=1\n");
    ASSERT_EQ(gdbusCall("SetDefaultSystemBrowser", {gvariantString("org.example.gamma.desktop")}).exitCode,
              0);
    ASSERT_EQ(gdbusCall("PerformFocusFilter", {gvariantString("org.example.alpha")}).exitCode, 0);
    ASSERT_EQ(gdbusCall("SetDefaultSystemBrowser", {gvariantString("gAMMA")}).exitCode, 0);
    EXPECT_EQ(app->handlerCalls(),
              (QStringList{"http org.example.gamma main", "http org.example.alpha worker",
                           "http org.example.gamma main"}));
    EXPECT_EQ(app->stdoutLines(),
              (QStringList{"Setting default browser to " + gamma.id, "Setting default browser to " + alpha.id,
                           "Setting default browser to " + gamma.id}));

    // Two browsers called Beta: the caller is told which desktop file IDs to use, nothing is switched.
    const CallResult ambiguous = gdbusCall("SetDefaultSystemBrowser", {gvariantString("Beta")});
    EXPECT_NE(ambiguous.exitCode, 0);
    EXPECT_TRUE(ambiguous.err.contains("app.tolvane.Tolvane.Error.AmbiguousBrowser"))
        << qPrintable(ambiguous.err);
    EXPECT_TRUE(ambiguous.err.contains("org.example.beta.desktop") &&
                ambiguous.err.contains("org.example.twin.desktop"))
        << qPrintable(ambiguous.err);
    EXPECT_EQ(app->handlerCalls().size(), 3);
    QFile::remove(twin);
}

TEST_F(AutomationBus, RefusedSwitchReturnsTheNamedErrorFromBothActions) {
    // A folder where the associations file belongs: the switch cannot be written.
    ASSERT_TRUE(QDir().mkpath(xdg.configHome() + "/mimeapps.list"));
    for (const QString method : {"SetDefaultSystemBrowser", "PerformFocusFilter"}) {
        const CallResult result = gdbusCall(method, {gvariantString(gamma.id)});
        EXPECT_NE(result.exitCode, 0) << qPrintable(method);
        EXPECT_TRUE(result.err.contains("app.tolvane.Tolvane.Error.CouldNotSetDefaultBrowser"))
            << qPrintable(result.err);
        EXPECT_TRUE(result.err.contains("Could not make Gamma the default browser"))
            << qPrintable(result.err);
    }
    EXPECT_EQ(app->handlerCalls().size(), 2);
    EXPECT_EQ(app->stdoutLines().count("Setting default browser to " + gamma.id), 2);
}

TEST_F(AutomationBus, UnreadableSettingsStopTheSwitchWithAnError) {
    ASSERT_TRUE(QDir().mkpath(Tolvane::SettingsStore::filePath()));
    const CallResult result = gdbusCall("SetDefaultSystemBrowser", {gvariantString(alpha.id)});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(result.err.contains("app.tolvane.Tolvane.Error.SettingsUnavailable"))
        << qPrintable(result.err);
    EXPECT_TRUE(result.err.contains("Could not make Alpha the default browser")) << qPrintable(result.err);
    EXPECT_TRUE(app->handlerCalls().isEmpty());
    EXPECT_TRUE(app->stdoutLines().isEmpty()) << qPrintable(app->stdoutLines().join('\n'));
}

TEST_F(AutomationBus, FocusFilterSwitchesOffTheMainThread) {
    const CallResult result = gdbusCall("PerformFocusFilter", {gvariantString(gamma.id)});
    EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
    EXPECT_EQ(app->handlerCalls(), QStringList{"http org.example.gamma worker"});
    EXPECT_EQ(app->stdoutLines(), QStringList{"Setting default browser to " + gamma.id});
    EXPECT_TRUE(app->stderrText().contains("app.tolvane.Tolvane.TolvaFocusFilterIntent: Perform called"));
}

TEST_F(AutomationBus, SuggestedFocusFilterHoldsOneInstalledBrowserUnderItsShownName) {
    ASSERT_TRUE(setBool(Tolvane::SettingsStore::showBrowserVersion, true));
    const QHash<QString, QString> names{
        {alpha.id, "Alpha (1.0)"}, {beta.id, "Beta (2.5)"}, {gamma.id, "Gamma (3)"}};
    const CallResult result = gdbusCall("SuggestedFocusFilters");
    ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
    const auto filters = parseFocusFilters(result.out);
    ASSERT_EQ(filters.size(), 1);
    ASSERT_TRUE(names.contains(filters[0][0])) << qPrintable(filters[0][0]);
    EXPECT_EQ(filters[0][1], names.value(filters[0][0]));
    EXPECT_EQ(filters[0][2], "Change default browser");
}

TEST_F(AutomationBus, HostileInputGetsAnAnswerAndTheServiceStaysUp) {
    const QString huge(100000, QChar('x'));
    for (const QString method : {"SetDefaultSystemBrowser", "PerformFocusFilter"}) {
        const CallResult result = gdbusCall(method, {gvariantString(huge)});
        EXPECT_TRUE(result.err.contains("app.tolvane.Tolvane.Error.NoSuchBrowser")) << qPrintable(method);
        EXPECT_LT(result.err.size(), 1000) << "the message quotes a long id shortened";
    }
    EXPECT_EQ(app->stdoutLines().count("No valid default browser is selected"), 2);

    QStringList many;
    for (int i = 0; i < 2000; ++i)
        many << QStringLiteral("junk-%1:'\"\\%2").arg(i).arg(QString::fromUtf8("é中\u200b"));
    many << beta.id;
    EXPECT_EQ(ids(call("Entities", {gvariantStringArray(many)})), QStringList{beta.id});

    // Invalid UTF-8 and wrong argument types are refused before or at the service, never crash it.
    const QString dest = "--dest=app.tolvane.Tolvane";
    const CallResult badUtf8 =
        runTool("sh", {"-c", "gdbus call --session --dest app.tolvane.Tolvane --object-path "
                             "/app/tolvane/Tolvane --method "
                             "app.tolvane.Tolvane.Automation1.SetDefaultSystemBrowser "
                             "\"$(printf 'a\\377\\376b')\""});
    EXPECT_NE(badUtf8.exitCode, 0);
    const CallResult badUtf8Raw = runTool("sh", {"-c", "dbus-send --session --print-reply " + dest +
                                                           " /app/tolvane/Tolvane "
                                                           "app.tolvane.Tolvane.Automation1.Entities "
                                                           "\"array:string:$(printf '\\300\\200')\""});
    EXPECT_NE(badUtf8Raw.exitCode, 0);
    const CallResult wrongType =
        runTool("dbus-send", {"--session", "--print-reply", dest, "/app/tolvane/Tolvane",
                              "app.tolvane.Tolvane.Automation1.SetDefaultSystemBrowser", "int32:7"});
    EXPECT_NE(wrongType.exitCode, 0);
    const CallResult missingArg =
        runTool("dbus-send", {"--session", "--print-reply", dest, "/app/tolvane/Tolvane",
                              "app.tolvane.Tolvane.Automation1.PerformFocusFilter"});
    EXPECT_NE(missingArg.exitCode, 0);

    EXPECT_TRUE(app->handlerCalls().isEmpty());
    EXPECT_EQ(call("SuggestedEntities").size(), 3);
    EXPECT_EQ(app->process().state(), QProcess::Running);
}

// (method, direction, type) of every argument, read from introspection XML.
QStringList signatures(const QByteArray& xml) {
    QStringList out;
    QXmlStreamReader reader(xml);
    bool inInterface = false;
    QString method;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"interface")
            inInterface = reader.attributes().value("name") == u"app.tolvane.Tolvane.Automation1";
        else if (reader.isEndElement() && reader.name() == u"interface")
            inInterface = false;
        else if (inInterface && reader.isStartElement() && reader.name() == u"method")
            out << (method = reader.attributes().value("name").toString());
        else if (inInterface && reader.isStartElement() && reader.name() == u"arg")
            out << method + " " + reader.attributes().value("direction").toString() + " " +
                       reader.attributes().value("type").toString();
    }
    out.sort();
    return out;
}

TEST_F(AutomationBus, LiveInterfaceMatchesTheInstalledDescription) {
    QFile file(QStringLiteral(TOLVANE_SOURCE_DIR) + "/resources/dbus/app.tolvane.Tolvane.Automation1.xml");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList described = signatures(file.readAll());
    ASSERT_EQ(described.size(), 5 + 6); // five methods, six arguments
    const CallResult live =
        runTool("gdbus", {"introspect", "--session", "--xml", "--dest", "app.tolvane.Tolvane",
                          "--object-path", "/app/tolvane/Tolvane"});
    ASSERT_EQ(live.exitCode, 0) << qPrintable(live.err);
    EXPECT_EQ(signatures(live.out.toUtf8()), described);
}

TEST_F(AutomationBus, SecondInstanceLeavesTheNameToTheFirst) {
    QProcess second;
    second.setProcessChannelMode(QProcess::SeparateChannels);
    second.start(automationBinary(), {});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 1);
    const QString err = QString::fromUtf8(second.readAllStandardError());
    EXPECT_EQ(err.count("Automation is not offered: app.tolvane.Tolvane belongs to another process"), 1)
        << qPrintable(err);
    EXPECT_EQ(err.count("Automation is not offered"), 1);
    EXPECT_EQ(call("SuggestedEntities").size(), 3);
}

TEST(AutomationBusEmpty, EmptyCatalogueListsAndSuggestsNothing) {
    TempXdg xdg;
    PrivateBus bus;
    ASSERT_TRUE(bus.running());
    AutomationProcess app(xdg);
    ASSERT_TRUE(app.start()) << qPrintable(app.stderrText());
    const CallResult entities = gdbusCall("SuggestedEntities");
    ASSERT_EQ(entities.exitCode, 0) << qPrintable(entities.err);
    EXPECT_TRUE(parseEntities(entities.out).isEmpty());
    const CallResult filters = gdbusCall("SuggestedFocusFilters");
    ASSERT_EQ(filters.exitCode, 0) << qPrintable(filters.err);
    EXPECT_TRUE(parseFocusFilters(filters.out).isEmpty());
}

TEST(AutomationStartup, NoSessionBusIsReportedInOneLine) {
    TempXdg xdg;
    prepareAutomationEnvironment(xdg);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + xdg.home() + "/no-bus-here");
    process.setProcessEnvironment(env);
    process.start(automationBinary(), {});
    ASSERT_TRUE(process.waitForFinished(15000));
    EXPECT_EQ(process.exitCode(), 1);
    const QString err = QString::fromUtf8(process.readAllStandardError()).trimmed();
    EXPECT_EQ(err.count("Automation is not offered: no session bus"), 1) << qPrintable(err);
    EXPECT_EQ(err.count("Automation is not offered"), 1);
}

QString busReply(const QString& method, const QString& name) {
    return runTool("gdbus", {"call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                             "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus." + method, name})
        .out.trimmed();
}

TEST(AutomationActivation, FirstCallStartsTheProgramThroughItsServiceFile) {
    TempXdg xdg;
    const Installed browser{xdg.writeBrowserEntry("org.example.solo", "Solo", "X-AppImage-Version=9\n"), {}};
    prepareAutomationEnvironment(xdg);

    // The installed template, pointed at the program under test.
    QFile templateFile(QStringLiteral(TOLVANE_SOURCE_DIR) + "/resources/dbus/app.tolvane.Tolvane.service.in");
    ASSERT_TRUE(templateFile.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(templateFile.readAll()).split('\n');
    ASSERT_TRUE(lines.contains("Name=app.tolvane.Tolvane"));
    ASSERT_TRUE(lines.contains("Exec=@TOLVANE_PROGRAM@ --service"));
    lines.replace(lines.indexOf("Exec=@TOLVANE_PROGRAM@ --service"),
                  "Exec=" + automationBinary() + " --service");
    const QString serviceDir = xdg.home() + "/dbus-services";
    xdg.writeFile(serviceDir + "/app.tolvane.Tolvane.service", lines.join('\n').toUtf8());

    PrivateBus bus(serviceDir);
    ASSERT_TRUE(bus.running());
    ASSERT_EQ(busReply("NameHasOwner", "app.tolvane.Tolvane"), "(false,)");

    const CallResult result = gdbusCall("SuggestedEntities");
    ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
    const auto entities = parseEntities(result.out);
    ASSERT_EQ(entities.size(), 1);
    EXPECT_EQ(entities[0].displayName, "Solo");

    const QString pidReply = busReply("GetConnectionUnixProcessID", "app.tolvane.Tolvane");
    const qint64 pid = pidReply.section(' ', 1).remove(QRegularExpression("[^0-9]")).toLongLong();
    ASSERT_GT(pid, 0) << qPrintable(pidReply);
    EXPECT_EQ(QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).canonicalFilePath(),
              QFileInfo(automationBinary()).canonicalFilePath());
    ::kill(pid_t(pid), SIGTERM);
    for (int i = 0; i < 100 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)); ++i)
        QThread::msleep(50);
}

} // namespace
