// SPDX-License-Identifier: GPL-3.0-or-later
#include "BusFixture.h"

#include "support/ServiceWait.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <glib.h>
#include <gtest/gtest.h>

CallResult runTool(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess process;
    process.start(program, args);
    CallResult result;
    if (!process.waitForStarted(10000)) {
        result.err = program + " did not start";
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = program + " timed out";
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

CallResult gdbusCall(const QString& method, const QStringList& args) {
    return runTool("gdbus", QStringList{"call", "--session", "--timeout", "20", "--dest",
                                        "app.tolvane.Tolvane", "--object-path", "/app/tolvane/Tolvane",
                                        "--method", "app.tolvane.Tolvane.Automation1." + method} +
                                args);
}

QString gvariantString(const QString& text) {
    QString escaped = text;
    escaped.replace('\\', "\\\\").replace('\'', "\\'");
    return '\'' + escaped + '\'';
}

QString gvariantStringArray(const QStringList& texts) {
    QStringList items;
    for (const QString& text : texts)
        items << gvariantString(text);
    return "@as [" + items.join(", ") + "]";
}

namespace {

// The first element of gdbus's reply tuple, or null (with a test failure) when it does not parse.
GVariant* replyValue(const QString& output, const char* type) {
    GError* error = nullptr;
    const QByteArray text = output.trimmed().toUtf8();
    GVariant* tuple = g_variant_parse(nullptr, text.constData(), nullptr, nullptr, &error);
    if (!tuple) {
        ADD_FAILURE() << "gdbus output does not parse: " << error->message << "\n"
                      << text.left(500).constData();
        g_error_free(error);
        return nullptr;
    }
    GVariant* value = nullptr;
    if (g_variant_n_children(tuple) == 1) {
        value = g_variant_get_child_value(tuple, 0);
        if (!g_variant_is_of_type(value, G_VARIANT_TYPE(type))) {
            ADD_FAILURE() << "reply has type " << g_variant_get_type_string(value) << ", not " << type;
            g_variant_unref(value);
            value = nullptr;
        }
    } else {
        ADD_FAILURE() << "reply is not a one-value tuple: " << text.left(500).constData();
    }
    g_variant_unref(tuple);
    return value;
}

QString childString(GVariant* tuple, gsize index) {
    GVariant* child = g_variant_get_child_value(tuple, index);
    const QString text = QString::fromUtf8(g_variant_get_string(child, nullptr));
    g_variant_unref(child);
    return text;
}

} // namespace

QList<EntityOnBus> parseEntities(const QString& gdbusOutput) {
    QList<EntityOnBus> entities;
    GVariant* array = replyValue(gdbusOutput, "a(sssay)");
    if (!array)
        return entities;
    for (gsize i = 0; i < g_variant_n_children(array); ++i) {
        GVariant* item = g_variant_get_child_value(array, i);
        EntityOnBus entity{childString(item, 0), childString(item, 1), childString(item, 2), {}};
        GVariant* bytes = g_variant_get_child_value(item, 3);
        gsize size = 0;
        const auto* data = static_cast<const char*>(g_variant_get_fixed_array(bytes, &size, 1));
        entity.image = QByteArray(data, qsizetype(size));
        g_variant_unref(bytes);
        g_variant_unref(item);
        entities << entity;
    }
    g_variant_unref(array);
    return entities;
}

QList<QStringList> parseFocusFilters(const QString& gdbusOutput) {
    QList<QStringList> filters;
    GVariant* array = replyValue(gdbusOutput, "a(sss)");
    if (!array)
        return filters;
    for (gsize i = 0; i < g_variant_n_children(array); ++i) {
        GVariant* item = g_variant_get_child_value(array, i);
        filters << QStringList{childString(item, 0), childString(item, 1), childString(item, 2)};
        g_variant_unref(item);
    }
    g_variant_unref(array);
    return filters;
}

QString automationBinary() {
    const QString configured = qEnvironmentVariable("TOLVANE_AUTOMATION_BINARY");
    return configured.isEmpty() ? QStringLiteral(TOLVANE_AUTOMATION_HOST) : configured;
}

void prepareAutomationEnvironment(const TempXdg& xdg) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "app.tolvane.*.debug=true");
    qputenv("QT_FORCE_STDERR_LOGGING", "1");
    qputenv("QT_MESSAGE_PATTERN", "%{category}: %{message}");
    const QString runtimeDir = xdg.home() + "/runtime";
    QDir().mkpath(runtimeDir);
    QFile::setPermissions(runtimeDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtimeDir.toUtf8());
    qputenv("TOLVANE_TEST_HANDLER_LOG", (xdg.home() + "/handler-calls.log").toUtf8());
}

AutomationProcess::AutomationProcess(const TempXdg& xdg) : xdg_(xdg) {
    prepareAutomationEnvironment(xdg);
    process_.setStandardOutputFile(xdg.home() + "/automation.out");
    process_.setStandardErrorFile(xdg.home() + "/automation.err");
}

AutomationProcess::~AutomationProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(5000);
    }
}

bool AutomationProcess::start() {
    process_.start(automationBinary(), {});
    if (!process_.waitForStarted(serviceStartMs))
        return false;
    // Polls the bus, not our own code, for the name.
    return waitForService(
        [] {
            return runTool("gdbus", {"call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                                     "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.NameHasOwner",
                                     "app.tolvane.Tolvane"})
                .out.contains("true");
        },
        process_);
}

namespace {
QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

QStringList AutomationProcess::stdoutLines() const {
    return readText(xdg_.home() + "/automation.out").split('\n', Qt::SkipEmptyParts);
}

QString AutomationProcess::stderrText() const {
    return readText(xdg_.home() + "/automation.err");
}

QStringList AutomationProcess::handlerCalls() const {
    return readText(xdg_.home() + "/handler-calls.log").split('\n', Qt::SkipEmptyParts);
}
