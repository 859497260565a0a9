// SPDX-License-Identifier: GPL-3.0-or-later
// Exec lines started for links by our expander and by GLib's own launcher, each run recorded by the
// program it starts: both must hand over the same arguments, byte for byte.

// Before Qt, whose "signals" keyword GIO uses as a name.
#include <gio/gdesktopappinfo.h>

#include "platform/linux/xdg/ArgumentBytes.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/ExecLaunch.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/wait.h>

using namespace platform::linux_;

namespace {

// Each run's arguments as the program got them, NUL-separated, in the order the runs' texts sort.
QList<QByteArray> recorded(const QString& folder, qsizetype expected) {
    QDir dir(folder);
    const QDeadlineTimer deadline(10000);
    while (dir.entryList({"run.*[0-9]"}, QDir::Files).size() < expected && !deadline.hasExpired())
        QThread::msleep(20);
    QList<QByteArray> runs;
    for (const QString& name : dir.entryList({"run.*[0-9]"}, QDir::Files)) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        runs << file.readAll();
        file.remove();
    }
    std::sort(runs.begin(), runs.end());
    return runs;
}

struct Case {
    QByteArray exec; // after the recording program, as the file holds it
    QList<QByteArray> links;
    QByteArray extra = {}; // more keys
};

} // namespace

TEST(ExecExpanderTest, GivesTheArgumentsGLibsLauncherGives) {
    QTemporaryDir dir;
    const QString glib = dir.filePath("glib"), ours = dir.filePath("ours");
    QDir().mkpath(glib);
    QDir().mkpath(ours);
    const QString recorder = dir.filePath("record words");
    {
        QFile script(recorder);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(
            "#!/bin/sh\nf=\"$RECORD_TO/run.$$\"\nprintf '%s\\0' \"$@\" > \"$f.part\" && mv \"$f.part\" "
            "\"$f\"\n");
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    const QList<Case> cases{
        // Quoting, '$' and spaces in arguments and in the link.
        {R"("a \\$b \\"c\\" \\\\ d" 'e f' g\\ h $HOME %u)", {"https://x.example/$y z?a=1&b=`c`"}},
        // A profile called "%u" is written "%%u": the two characters, never the link.
        {"--profile %%u %u", {"https://x.example/"}},
        {R"("%%u" 100% a%%b %u)", {"https://x.example/"}},
        // Codes inside a word; one run a link.
        {"--url=%u", {"https://a.example/", "https://b.example/"}},
        {"--new x%Uy", {"https://a.example/", "https://b.example/", "https://c.example/"}},
        // Every link, as bytes: one that is not UTF-8 arrives unchanged.
        {"%U",
         {"https://a.example/\xff\xfe", "https://b.example/caf\xc3\xa9", "https://c.example/\xed\xa0\x80"}},
        // Local files by path, decoded; the fragment dropped.
        {"%F", {"file:///tmp/a%20b", "file:///tmp/x/../c%C3%A9#y", "file://localhost/etc/hosts"}},
        {"%f", {"file:///tmp/one", "file:///tmp/two%ff"}},
        // The icon as two arguments (GLib drops a themed name's extension), the name, the file.
        {"%i --name=%c %k %u", {"https://x.example/"}, "Icon=web-browser\n"},
        {"%i %u", {"https://x.example/"}, "Icon=browser.png\n"},
        {"%i %u", {"https://x.example/"}},
        // Flatpak's exports hand the link on between markers.
        {"run --command=firefox org.mozilla.firefox @@u %u @@", {"https://x.example/"}},
        // Deprecated codes are dropped. (GLib lets %d %D %n %N take a web link and drop it: a router must
        // not lose it, so those stay out of this comparison.)
        {"%v %m %u", {"https://x.example/"}},
        {"%u", {}},
    };
    int number = 0;
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("case%1.desktop").arg(++number));
        QFile entry(path);
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=My \"Browser\" $x\nExec=\"" + recorder.toUtf8() +
                    "\" " + c.exec + "\n" + c.extra);
        entry.close();
        SCOPED_TRACE(c.exec.constData());

        // GLib, as every GLib program opens a link with an entry.
        qputenv("RECORD_TO", QFile::encodeName(glib));
        GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData());
        ASSERT_NE(info, nullptr);
        GList* uris = nullptr;
        for (const QByteArray& link : c.links)
            uris = g_list_append(uris, const_cast<char*>(link.constData()));
        QList<GPid> started;
        GError* error = nullptr;
        const bool launched = g_desktop_app_info_launch_uris_as_manager(
            info, uris, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr,
            [](GDesktopAppInfo*, GPid pid, gpointer started) {
                static_cast<QList<GPid>*>(started)->append(pid);
            },
            &started, &error);
        g_list_free(uris);
        g_object_unref(info);
        ASSERT_TRUE(launched) << (error ? error->message : "");
        for (GPid pid : started)
            waitpid(pid, nullptr, 0);
        const QList<QByteArray> byGLib = recorded(glib, started.size());

        // Ours, as the router reads the entry and starts the runs.
        const auto read = DesktopEntry::read(path);
        ASSERT_TRUE(read);
        QStringList links;
        for (const QByteArray& link : c.links)
            links << argumentText(link);
        QString why;
        const QList<QStringList> runs =
            commandRuns(unescapeDesktopValue(*read->value("Exec")), links, execEntryFacts(*read, path), &why);
        ASSERT_FALSE(runs.isEmpty()) << why.toStdString();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("RECORD_TO", ours);
        ASSERT_TRUE(startRuns(runs, environment, &why)) << why.toStdString();
        EXPECT_EQ(recorded(ours, runs.size()), byGLib);
    }

    // Nothing that begins with '-' reaches a browser as a link, whatever the line.
    for (const char* exec : {"browser %u", "browser --url=%u", "browser %U"}) {
        QString why;
        EXPECT_TRUE(
            commandRuns(exec, {"https://ok.example/", "--gpu-launcher=touch /tmp/x"}, {}, &why).isEmpty());
        EXPECT_TRUE(why.contains("--gpu-launcher")) << why.toStdString();
    }
}
