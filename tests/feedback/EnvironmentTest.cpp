// SPDX-License-Identifier: GPL-3.0-or-later
// The environment attributes and the Linux facts behind them.
#include "FeedbackEnvironmentObserver.h"

#include "platform/Services.h"
#include "platform/fake/FakeMainBundle.h"
#include "platform/fake/FakeSystemInfo.h"
#include "platform/linux/session/LinuxSystemInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>

#include <sys/utsname.h>

using namespace Tellwick;
using platform::linux_::LinuxSystemInfo;

TEST(Environment, SixValuesFromBundleAndSystem) {
    auto system = std::make_shared<platform::fake::FakeSystemInfo>();
    system->version = {14, 2, 0};
    system->model = "ThinkPad X1";
    auto bundle = std::make_shared<platform::fake::FakeMainBundle>();
    bundle->info = {{"CFBundleShortVersionString", "2.1"}, {"CFBundleVersion", 17}};
    platform::Override<platform::SystemInfo> o1(system);
    platform::Override<platform::MainBundle> o2(bundle);

    const auto values = FeedbackEnvironmentObserver().environmentValues();
    EXPECT_EQ(values, (QMap<QString, QString>{{"app version", "2.1"},
                                              {"app build", "-"}, // a number is not text
                                              {"os", "14.2.0"},
                                              {"system", "Linux"},
                                              {"model", "ThinkPad X1"},
                                              {"twk.v", "1"}}));

    bundle->info.clear();
    const auto bare = FeedbackEnvironmentObserver().environmentValues();
    EXPECT_EQ(bare.value("app version"), "-");
    EXPECT_EQ(bare.value("app build"), "-");
    EXPECT_EQ(bare.size(), 6);
}

namespace {

class FakeRoot {
public:
    void write(const QString& path, const QByteArray& content) {
        const QString full = dir.filePath(path);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    LinuxSystemInfo info() const { return LinuxSystemInfo(dir.path()); }
    QTemporaryDir dir;
};

QString unameMachine() {
    utsname names{};
    ::uname(&names);
    return QString::fromLatin1(names.machine);
}

QString text(platform::SystemInfo::Version v) {
    return QString("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.patch);
}

} // namespace

TEST(LinuxSystemInfo, DistributionVersionAlwaysThreeNumbers) {
    {
        FakeRoot root;
        root.write("etc/os-release",
                   "NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\nVERSION=\"12 (bookworm)\"\n");
        root.write("etc/debian_version", "12.5\n");
        EXPECT_EQ(text(root.info().operatingSystemVersion()), "12.0.0");
    }
    {
        FakeRoot root;
        root.write("etc/os-release", "ID=ubuntu\nVERSION_ID=22.04\n");
        EXPECT_EQ(text(root.info().operatingSystemVersion()), "22.4.0");
    }
    {
        FakeRoot root;
        root.write("etc/os-release", "ID=fedora\nVERSION_ID='39.1.7'\n");
        EXPECT_EQ(text(root.info().operatingSystemVersion()), "39.1.7");
    }
    {
        // Testing releases have no VERSION_ID; debian_version still carries numbers.
        FakeRoot root;
        root.write("etc/os-release", "PRETTY_NAME=\"Debian GNU/Linux trixie/sid\"\n");
        root.write("etc/debian_version", "12.5\n");
        EXPECT_EQ(text(root.info().operatingSystemVersion()), "12.5.0");
    }
    EXPECT_FALSE(LinuxSystemInfo::parseVersion(u"trixie/sid"));
    EXPECT_FALSE(LinuxSystemInfo::parseVersion(u""));
}

TEST(LinuxSystemInfo, ModelFromFirmwareElseMachine) {
    {
        FakeRoot root;
        root.write("sys/class/dmi/id/product_name", QByteArray("20XW0055GE\0junk\n", 16));
        EXPECT_EQ(root.info().hardwareModel(), "20XW0055GE");
    }
    {
        FakeRoot root;
        root.write("sys/class/dmi/id/product_name", "\n");
        EXPECT_EQ(root.info().hardwareModel(), unameMachine());
    }
    FakeRoot empty;
    EXPECT_EQ(empty.info().hardwareModel(), unameMachine());
    EXPECT_FALSE(unameMachine().isEmpty());
}
