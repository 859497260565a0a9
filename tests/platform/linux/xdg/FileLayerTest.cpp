// SPDX-License-Identifier: GPL-3.0-or-later
// The file layer under every switch, held against the real readers and the kernel.
#include "platform/linux/xdg/AtomicFile.h"
#include "platform/linux/xdg/KeyFileLines.h"
#include "support/TempXdg.h"

#include <QDir>
#include <QFile>

#include <glib.h>
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using platform::linux_::KeyFileLines;

TEST(FileLayerTest, LinesGLibRefusesAreTheOnesItsLoaderRefuses) {
    // Each case is a whole file; GLib's own loader is the judge of which ones it drops.
    const QList<QByteArray> files = {
        "[Default Applications]\nx-scheme-handler/http=a.desktop;\n",
        "[Default Applications]\n<<<<<<< HEAD\nx-scheme-handler/http=a.desktop;\n=======\n"
        "x-scheme-handler/http=b.desktop;\n>>>>>>> laptop\n",
        "[Default Applications]\n=======\n",
        "# comment first\n\n  [Default Applications]  \n  text/html = a.desktop\n",
        "[Default Applications]\r\ntext/html=a.desktop\r\n",
        "text/html=a.desktop\n[Default Applications]\n",
        "# only comments\n\n",
        "[Default Applications] trailing\ntext/html=a.desktop\n",
        "[Default [Applications]\n",
        "[]\n",
        "[Default Applications]\nName[de_DE@euro]=x\nName[bad locale]=y\n",
        "[Default Applications]\nName[de]=x\n",
        "[Default Applications]\nKey[$e]=x\n",
        "[Default Applications]\nKey]=x\n",
        "[Default Applications]\n\tKey\t=\tx\n",
        "[Default Applications]\nthis line does not parse\n",
        "[Default Applications]\ntext/html=a.desktop\nno newline at the end",
        "[Default Applications]\nx=1\n[Second]\ny=2\n[Default Applications]\nz=3\n",
    };
    for (const QByteArray& content : files) {
        GKeyFile* keyFile = g_key_file_new();
        GError* error = nullptr;
        const bool glibLoads = g_key_file_load_from_data(keyFile, content.constData(), gsize(content.size()),
                                                         G_KEY_FILE_NONE, &error);
        g_clear_error(&error);
        g_key_file_free(keyFile);
        const auto rejected = KeyFileLines::firstLineGLibRejects(content);
        EXPECT_EQ(!rejected.has_value(), glibLoads) << content.constData();
    }
    const auto marker = KeyFileLines::firstLineGLibRejects(files[1]);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->number, 2);
    EXPECT_EQ(marker->text, "<<<<<<< HEAD");
}

TEST(FileLayerTest, ANewVersionIsNeverReadableBeyondTheOldFilesMode) {
    TempXdg xdg;
    const QString path = xdg.writeFile(xdg.configHome() + "/secret.list", "old\n");
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0600), 0);
    const mode_t oldMask = umask(0); // the widest a new file could be created with
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(xdg.configHome()).constData(), IN_CREATE), 0);

    // Large enough that the temporary file stays long before it is renamed.
    const QByteArray content(64 * 1024 * 1024, 'x');
    bool replaced = false;
    QString error;
    std::thread writer([&] { replaced = platform::linux_::replaceFileAtomically(path, content, &error); });
    alignas(inotify_event) char buffer[4096];
    const ssize_t n = read(watch, buffer, sizeof buffer);
    ASSERT_GT(n, 0);
    const auto* event = reinterpret_cast<const inotify_event*>(buffer);
    struct stat st;
    const int statted = stat(QFile::encodeName(xdg.configHome() + '/' + event->name).constData(), &st);
    writer.join();
    umask(oldMask);
    close(watch);
    ASSERT_TRUE(replaced) << qPrintable(error);
    ASSERT_EQ(statted, 0) << "the temporary file was gone before it could be seen";
    EXPECT_EQ(st.st_mode & 0777, 0600u) << event->name;
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}
