// SPDX-License-Identifier: GPL-3.0-or-later
// What a pick does when things go wrong: a browser that does not start, a rules file that does not
// read. The workspace is a recording fake so a failed start can be had on demand; the real opener is
// exercised by link_picker_e2e.py.
#include "app/ui/links/LinkAsker.h"

#include "support/FakePlatform.h"
#include "support/TempXdg.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

using Tolvane::LinkAsker;
using Tolvane::LinkRequest;

namespace {

class RecordingWorkspace : public platform::fake::FakeWorkspace {
public:
    struct Launch {
        QStringList urls;
        QUrl application;
        QByteArray token; // XDG_ACTIVATION_TOKEN as the launch saw it
    };
    QList<Launch> launches;
    bool starts = true;

    bool openURLsWithApplication(const QStringList& urls, const QUrl& application) override {
        launches << Launch{urls, application, qgetenv("XDG_ACTIVATION_TOKEN")};
        return starts;
    }
};

bool failureShown(QWidget* picker) {
    const auto labels = picker->findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(), [](QLabel* l) {
        return !l->isHidden() && l->text().contains("could not be started");
    });
}

} // namespace

TEST(LinkAsker, FailedStartKeepsTheLinkAndAnUnreadableRulesFileIsKept) {
    TempXdg xdg;
    FakePlatform fakes;
    auto workspace = std::make_shared<RecordingWorkspace>();
    platform::Override<platform::Workspace> useIt{workspace};
    for (const char* id : {"alpha", "bravo"}) {
        const QUrl app = QUrl::fromLocalFile(xdg.applicationsDir() + "/" + id + ".desktop");
        workspace->applications << app;
        fakes.bundles->bundles.insert(app, platform::Bundle{QString::fromLatin1(id), {}});
    }
    // A line a person broke by hand: saving the one new rule over it would lose their others.
    const QByteArray broken = "# mine\nwork.example alpha.desktop\nhalf a rule here\n";
    const QString rules = xdg.writeFile(xdg.configHome() + "/tolvane/links.rules", broken);
    qunsetenv("XDG_ACTIVATION_TOKEN");

    LinkAsker asker;
    const QStringList links{QStringLiteral("https://news.example/today")};
    asker.ask(LinkRequest{links, "click-token"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return asker.picker() != nullptr; }));
    QPointer<QWidget> picker = asker.picker();

    workspace->starts = false;
    QTest::keyClick(picker, Qt::Key_2);
    ASSERT_EQ(workspace->launches.size(), 1);
    EXPECT_EQ(workspace->launches[0].urls, links);
    EXPECT_EQ(workspace->launches[0].application, workspace->applications[1]);
    EXPECT_EQ(workspace->launches[0].token, "click-token");
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN")) << "the token is only for the launch";
    ASSERT_TRUE(picker) << "a browser that did not start must not take the link with it";
    EXPECT_TRUE(failureShown(picker));

    workspace->starts = true;
    picker->findChild<QCheckBox*>()->setChecked(true);
    QTest::keyClick(picker, Qt::Key_1);
    ASSERT_EQ(workspace->launches.size(), 2);
    EXPECT_EQ(workspace->launches[1].application, workspace->applications[0]);
    EXPECT_TRUE(QTest::qWaitFor([&] { return picker.isNull(); }));
    EXPECT_EQ(xdg.readFile(rules), broken);
    const auto boxes = QApplication::topLevelWidgets();
    const bool told = std::any_of(boxes.begin(), boxes.end(), [](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        return box && box->isVisible() && box->informativeText().contains("line 3");
    });
    EXPECT_TRUE(told) << "the user learns the rule was not saved, and why";
}
