// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserCatalogue.h"
#include "PackageConfig.h"
#include "platform/Services.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/linux/applications/DesktopBundleReader.h"
#include "platform/linux/applications/icons/DesktopWorkspace.h"
#include "support/DesktopFixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

using namespace platform::linux_;

namespace {

// Browsers installed by a distribution's packages below a root of their own, listed through the
// real adapters with versions taken from that root's package database.
class PackageVersionsTest : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        qputenv("XDG_DATA_DIRS", (root + "/usr/share").toUtf8());
    }
    // Name → version of every listed browser, as the catalogue gives them.
    QMap<QString, QString> versions() {
        auto index = std::make_shared<DesktopEntryIndex>();
        platform::Override<platform::FileSystem> fs(std::make_shared<platform::fake::FakeFileSystem>());
        platform::Override<platform::Workspace> ws(std::make_shared<DesktopWorkspace>(index));
        platform::Override<platform::BundleReader> br(reader);
        QMap<QString, QString> out;
        for (const auto& browser : Tolvane::installedBrowsers())
            out.insert(browser.appName, browser.appVersion);
        return out;
    }
    QString packagedBrowser(const QString& id, const QString& name, const QString& exec) {
        return xdg.writeFile(root + "/usr/share/applications/" + id,
                             "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                                 "\nExec=" + exec.toUtf8() +
                                 " %u\nMimeType=x-scheme-handler/http;x-scheme-handler/https;\n");
    }
    QString program(const QString& path) {
        const QString file = xdg.writeFile(root + path, "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(file, QFile::permissions(file) | QFile::ExeOwner);
        return file;
    }
    // One paragraph of dpkg's status file.
    static QByteArray dpkgStatus(const QByteArray& package, const QByteArray& version,
                                 const QByteArray& status = "install ok installed") {
        return "Package: " + package + "\nStatus: " + status + "\nPriority: optional\nArchitecture: amd64\n" +
               "Version: " + version + "\nDescription: x\n continued line\n\n";
    }
    void dpkgList(const QString& package, const QStringList& paths) {
        xdg.writeFile(root + "/var/lib/dpkg/info/" + package + ".list",
                      ("/.\n/usr\n" + paths.join('\n') + '\n').toUtf8());
    }

    QString root = xdg.home() + "/root";
    std::shared_ptr<DesktopBundleReader> reader =
        std::make_shared<DesktopBundleReader>(std::make_shared<DesktopEntryIndex>(), root + "/snap", root);
};

} // namespace

TEST_F(PackageVersionsTest, DpkgOwnerOfTheEntryOrItsProgramAndAnUpgradeIsNoticed) {
    packagedBrowser("firefox-esr.desktop", "Firefox ESR", "/usr/lib/firefox-esr/firefox-esr");
    program("/usr/bin/chromium");
    packagedBrowser("chromium.desktop", "Chromium", "chromium"); // owned by nobody: found by its program
    packagedBrowser("plain.desktop", "Unpackaged", xdg.browserProgram());
    // A snap without its metadata: the launcher's package is not the browser's.
    QDir().mkpath(root + "/snap/bin");
    QFile::link(program("/usr/bin/snap"), root + "/snap/bin/snapweb");
    packagedBrowser("snapweb_snapweb.desktop", "Snap Web", "/snap/bin/snapweb");
    packagedBrowser("removed.desktop", "Removed", xdg.browserProgram());
    // AppStream data wins over the package database.
    packagedBrowser("org.example.Meta.desktop", "Meta", xdg.browserProgram());
    xdg.writeFile(root + "/usr/share/metainfo/org.example.Meta.metainfo.xml",
                  "<component><releases><release version=\"7.0\"/></releases></component>");
    dpkgList("firefox-esr",
             {"/usr/lib/firefox-esr/firefox-esr", "/usr/share/applications/firefox-esr.desktop"});
    dpkgList("chromium", {"/usr/bin/chromium"});
    dpkgList("snapd", {"/usr/bin/snap"});
    dpkgList("removed:amd64", {"/usr/share/applications/removed.desktop"});
    dpkgList("meta", {"/usr/share/applications/org.example.Meta.desktop"});
    const QString status = root + "/var/lib/dpkg/status";
    xdg.writeFile(status, dpkgStatus("firefox-esr", "153.8.0esr-1~deb12u1") +
                              dpkgStatus("chromium", "1:120.0.6099.224-1~deb12u1") +
                              dpkgStatus("removed", "2.0-1", "deinstall ok config-files") +
                              dpkgStatus("meta", "6.0-1"));

    EXPECT_EQ(versions(), (QMap<QString, QString>{{"Firefox ESR", "153.8.0esr"},
                                                  {"Chromium", "120.0.6099.224"},
                                                  {"Unpackaged", ""},
                                                  {"Removed", ""},
                                                  {"Snap Web", ""},
                                                  {"Meta", "7.0"}}));

    // An upgrade rewrites status and the package's file list; the next listing shows it.
    xdg.writeFile(status, dpkgStatus("firefox-esr", "154.0esr-1~deb12u1") +
                              dpkgStatus("chromium", "1:121.0-1") + dpkgStatus("meta", "6.0-1"));
    dpkgList("firefox-esr", {"/usr/share/applications/firefox-esr.desktop"});
    // Databases are looked at again at most once a second, not for every entry of a listing.
    const QDeadlineTimer deadline(10000);
    while (versions().value("Firefox ESR") != "154.0esr" && !deadline.hasExpired())
        QThread::msleep(50);
    EXPECT_EQ(versions().value("Firefox ESR"), "154.0esr");
    EXPECT_EQ(versions().value("Chromium"), "121.0");
}

// The browser's own package, also where neither the entry nor a wrapper in front of the program
// is named after it.
TEST_F(PackageVersionsTest, DpkgOwnerPastUnlikeNamesAndWrappers) {
    packagedBrowser("org.gnome.Epiphany.desktop", "Epiphany", "epiphany");
    packagedBrowser("kde-web.desktop", "Kde Web", "kwebview");
    program("/usr/bin/firefox-esr");
    program("/usr/bin/bwrap");
    program("/usr/bin/firejail");
    packagedBrowser(
        "sandboxed.desktop", "Sandboxed",
        "bwrap --ro-bind /usr /usr --dev /dev --setenv A b --die-with-parent /usr/bin/firefox-esr");
    packagedBrowser("wrapped.desktop", "Wrapped",
                    "env -u DISPLAY MOZ_ENABLE_WAYLAND=1 firejail --noprofile -- firefox-esr");
    dpkgList("epiphany-browser", {"/usr/bin/epiphany", "/usr/share/applications/org.gnome.Epiphany.desktop"});
    dpkgList("kde-data", {"/usr/share/applications/kde-web.desktop"});
    dpkgList("firefox-esr", {"/usr/bin/firefox-esr"});
    dpkgList("bubblewrap", {"/usr/bin/bwrap"});
    dpkgList("firejail", {"/usr/bin/firejail"});
    program("/usr/bin/kwebview");
    xdg.writeFile(root + "/var/lib/dpkg/status",
                  dpkgStatus("epiphany-browser", "43.1-2") + dpkgStatus("kde-data", "5.27.5-1") +
                      dpkgStatus("firefox-esr", "115.9.1esr-1~deb12u1") +
                      dpkgStatus("bubblewrap", "0.8.0-2") + dpkgStatus("firejail", "0.9.72-2"));
    EXPECT_EQ(versions(), (QMap<QString, QString>{{"Epiphany", "43.1"},
                                                  {"Kde Web", "5.27.5"},
                                                  {"Sandboxed", "115.9.1esr"},
                                                  {"Wrapped", "115.9.1esr"}}));
}

// pacman makes a package's folder before it writes what is in it; a listing in between shows no
// version, the next one after the upgrade shows the new one.
TEST_F(PackageVersionsTest, PacmanUpgradeCaughtHalfWritten) {
    reader =
        std::make_shared<DesktopBundleReader>(std::make_shared<DesktopEntryIndex>(), root + "/snap", root, 0);
    packagedBrowser("firefox.desktop", "Firefox", "/usr/lib/firefox/firefox");
    const QString local = root + "/var/lib/pacman/local";
    QDir().mkpath(local + "/firefox-1:129.0-1");
    EXPECT_EQ(versions().value("Firefox"), "");
    xdg.writeFile(local + "/firefox-1:129.0-1/desc", "%NAME%\nfirefox\n\n%VERSION%\n1:129.0-1\n");
    xdg.writeFile(local + "/firefox-1:129.0-1/files", "%FILES%\nusr/share/applications/firefox.desktop\n");
    EXPECT_EQ(versions().value("Firefox"), "129.0");
}

TEST_F(PackageVersionsTest, PacmanOwnerOfTheEntry) {
    packagedBrowser("firefox.desktop", "Firefox", "/usr/lib/firefox/firefox");
    packagedBrowser("other.desktop", "Other", xdg.browserProgram());
    const QString local = root + "/var/lib/pacman/local";
    xdg.writeFile(local + "/ALPM_DB_VERSION", "9\n");
    xdg.writeFile(local + "/firefox-1:128.0.3-1/desc",
                  "%NAME%\nfirefox\n\n%VERSION%\n1:128.0.3-1\n\n%DESC%\nFast, Private & Safe Web Browser\n");
    xdg.writeFile(
        local + "/firefox-1:128.0.3-1/files",
        "%FILES%\nusr/\nusr/lib/firefox/firefox\nusr/share/applications/firefox.desktop\n\n%BACKUP%\n");
    EXPECT_EQ(versions(), (QMap<QString, QString>{{"Firefox", "128.0.3"}, {"Other", ""}}));
}

TEST_F(PackageVersionsTest, RpmDatabaseBuiltWithTheRealTools) {
    if (!TOLVANE_WITH_LIBRPM)
        GTEST_SKIP() << "built without librpm";
    const QString rpmbuild = QStandardPaths::findExecutable("rpmbuild");
    ASSERT_FALSE(rpmbuild.isEmpty()) << "rpmbuild (package rpm) is needed";
    const QString top = xdg.home() + "/rpmbuild";
    xdg.writeFile(top + "/SPECS/web.spec",
                  "Name: rpmweb\nVersion: 128.0.3\nRelease: 2.fc40\nEpoch: 1\nSummary: x\nLicense: MIT\n"
                  "BuildArch: noarch\n%description\nx\n%install\n"
                  "mkdir -p %{buildroot}/usr/share/applications\n"
                  "printf '[Desktop Entry]\\nType=Application\\nName=Rpm Web\\nExec=/opt/rpmweb/web %%%%u\\n"
                  "MimeType=x-scheme-handler/https;\\n' > "
                  "%{buildroot}/usr/share/applications/org.example.RpmWeb.desktop\n"
                  "%files\n/usr/share/applications/org.example.RpmWeb.desktop\n");
    EXPECT_EQ(run(rpmbuild, {"-bb", "--quiet", "--define", "_topdir " + top, "--define",
                             "_build_id_links none", top + "/SPECS/web.spec"}),
              "");
    const QString rpm = top + "/RPMS/noarch/rpmweb-128.0.3-2.fc40.noarch.rpm";
    ASSERT_TRUE(QFileInfo::exists(rpm));
    QProcess install;
    install.start("rpm", {"--root", root, "--dbpath", "/var/lib/rpm", "-i", "--nodeps", "--noplugins",
                          "--nosignature", "--nodigest", rpm});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    ASSERT_TRUE(QFileInfo::exists(root + "/usr/share/applications/org.example.RpmWeb.desktop"));
    packagedBrowser("other.desktop", "Other", xdg.browserProgram());
    EXPECT_EQ(versions(), (QMap<QString, QString>{{"Rpm Web", "128.0.3"}, {"Other", ""}}));
}

// The machine's own dpkg database, checked against dpkg-query: every packaged desktop entry
// shows its package's upstream version.
TEST(PackageVersions, TheSystemDpkgDatabaseAgreesWithDpkgQuery) {
    if (!QFileInfo::exists("/var/lib/dpkg/status"))
        GTEST_SKIP() << "not a dpkg system";
    PackageVersions packages;
    int checked = 0;
    for (const QFileInfo& file : QDir("/usr/share/applications").entryInfoList({"*.desktop"}, QDir::Files)) {
        QProcess query;
        query.start("dpkg-query", {"-S", file.filePath()});
        query.waitForFinished(30000);
        const QString owner = QString::fromUtf8(query.readAllStandardOutput()).section(':', 0, 0).trimmed();
        if (query.exitCode() != 0 || owner.contains(','))
            continue;
        query.start("dpkg-query", {"-W", "-f", "${Version}", owner});
        query.waitForFinished(30000);
        const QString full = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
        // Upstream part, cut independently: after "epoch:", before the last "-revision".
        QString upstream = full.contains(':') ? full.section(':', 1) : full;
        if (upstream.contains('-'))
            upstream = upstream.section('-', 0, -2);
        const auto entry = DesktopEntry::read(file.filePath());
        ASSERT_TRUE(entry);
        EXPECT_EQ(packages.find(file.filePath(), *entry), upstream) << file.filePath().toStdString();
        ++checked;
    }
    if (checked == 0)
        GTEST_SKIP() << "no packaged desktop entries on this machine";
}
