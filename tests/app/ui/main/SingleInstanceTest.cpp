// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"
#include "platform/Paths.h"
#include "support/TempXdg.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Tolvane;

// Without a session runtime folder (su, cron, some SSH logins) the lock must not sit where another
// user can take its name first.
TEST(SingleInstance, WithoutARuntimeFolderNoOtherUserCanBlockTheStart) {
    TempXdg xdg;
    QTemporaryDir sharedTmp;
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedTmp = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", sharedTmp.path().toUtf8());

    // What anyone can compute from the user's config folder, taken first in the shared folder.
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(platform::tolvaneConfigDir().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16));
    for (const char* suffix : {".lock", ".sock"})
        ASSERT_TRUE(QDir().mkpath(sharedTmp.path() + "/tolvane-" + key + suffix));

    {
        SingleInstance first;
        EXPECT_TRUE(first.claim());
        EXPECT_FALSE(first.serverName().startsWith(sharedTmp.path()));
        const QString folder = QFileInfo(first.serverName()).path();
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0077, 0u) << "the folder of the lock is private";

        // Still one instance.
        SingleInstance second;
        EXPECT_FALSE(second.claim());
    }

    // A runtime folder that is not the user's own is not trusted either.
    qputenv("XDG_RUNTIME_DIR", sharedTmp.path().toUtf8());
    ::chmod(QFile::encodeName(sharedTmp.path()).constData(), 01777);
    {
        SingleInstance first;
        EXPECT_TRUE(first.claim());
        EXPECT_FALSE(first.serverName().startsWith(sharedTmp.path()));
    }

    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    if (savedTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", savedTmp);
}
