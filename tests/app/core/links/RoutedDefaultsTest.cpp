// SPDX-License-Identifier: GPL-3.0-or-later
// Routing on is one step: a write that fails, a request to end and a kill half-way each leave routing
// either whole (the handler, and the record of the browser behind it) or not changed at all.
#include "RoutedDefaults.h"
#include "ChosenBrowserRecord.h"
#include "platform/linux/defaults/MimeAppsHandlerService.h"
#include "platform/linux/defaults/RouterEntry.h"
#include "support/DesktopFixture.h"

#include <QFile>

#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace platform::linux_;
using platform::HandlerService;
using platform::LinkRouting;
using Tolvane::links::ChosenBrowserRecord;
using Tolvane::links::RoutedDefaults;

namespace {

// Writes down each file it replaces, then fails, ends or dies at the second, as a full disk, a logout
// or a kill would.
class InterruptedService : public MimeAppsHandlerService {
public:
    enum class At { fail, term, kill };
    InterruptedService(At at, QString log)
        : MimeAppsHandlerService(std::make_shared<DesktopEntryIndex>()), at_(at), log_(std::move(log)) {}

protected:
    bool replaceFile(const QString& path, const QByteArray& content, QString* error) override {
        QFile log(log_);
        if (log.open(QIODevice::Append))
            log.write(path.toUtf8() + '\n');
        log.close();
        if (++writes_ != 2)
            return MimeAppsHandlerService::replaceFile(path, content, error);
        if (at_ == At::fail) {
            *error = QStringLiteral("injected");
            return false;
        }
        kill(getpid(), at_ == At::term ? SIGTERM : SIGKILL);
        return MimeAppsHandlerService::replaceFile(path, content, error);
    }

private:
    At at_;
    QString log_;
    int writes_ = 0;
};

class RoutedDefaultsTest : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        browser("pages.desktop", "Pages", "text/html;x-scheme-handler/http;x-scheme-handler/https;");
        ASSERT_EQ(plain->setDefaultHandlerForURLScheme("https", "pages"), HandlerService::noErr);
    }
    RoutedDefaults routed(std::shared_ptr<MimeAppsHandlerService> over) {
        return RoutedDefaults(over, over, QStringLiteral("/bin/sh"));
    }
    std::shared_ptr<MimeAppsHandlerService> plain = std::make_shared<MimeAppsHandlerService>();
};

} // namespace

TEST_F(RoutedDefaultsTest, RoutingOnIsOneStepWhateverEndsIt) {
    const QString log = xdg.configHome() + "/written";
    const QString list = xdg.configHome() + "/mimeapps.list";
    for (const auto at :
         {InterruptedService::At::fail, InterruptedService::At::kill, InterruptedService::At::term}) {
        QFile::remove(log);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto service = std::make_shared<InterruptedService>(at, log);
            _exit(routed(service).setOn(true) == HandlerService::noErr ? 0 : 3);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        // The record goes before the stores: whoever reads them once they changed finds it there.
        const QStringList written = QString::fromUtf8(xdg.readFile(log)).split('\n');
        EXPECT_TRUE(written.contains(ChosenBrowserRecord::path())) << written.join(' ').toStdString();
        EXPECT_TRUE(written.indexOf(list) < 0 ||
                    written.indexOf(ChosenBrowserRecord::path()) < written.indexOf(list))
            << written.join(' ').toStdString();
        // As the next process sees it.
        auto after = routed(std::make_shared<MimeAppsHandlerService>());
        if (at == InterruptedService::At::term) {
            // A request to end waits for the step to stand.
            ASSERT_TRUE(WIFSIGNALED(status));
            EXPECT_EQ(after.state(), LinkRouting::State::on);
            EXPECT_EQ(ChosenBrowserRecord::read().chosen, QString("pages.desktop"));
            EXPECT_EQ(after.defaultHandlerForURLScheme("https").value_or(QString()),
                      QString("pages.desktop"));
            EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"),
                      QString("app.tolvane.Tolvane.Router.desktop"));
            ASSERT_EQ(after.setOn(false), HandlerService::noErr);
        } else {
            // A failure undoes what was written; a kill leaves the journal that the next reader undoes.
            EXPECT_EQ(at == InterruptedService::At::fail ? WEXITSTATUS(status) : WTERMSIG(status),
                      at == InterruptedService::At::fail ? 3 : SIGKILL);
            EXPECT_EQ(after.state(), LinkRouting::State::off);
            EXPECT_FALSE(QFile::exists(ChosenBrowserRecord::path()));
        }
        EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"), QString("pages.desktop"));
        EXPECT_EQ(after.defaultHandlerForURLScheme("https").value_or(QString()), QString("pages.desktop"));
    }
}

TEST_F(RoutedDefaultsTest, AMovedProgramTakesTheHandlerAlong) {
    ASSERT_EQ(routed(plain).setOn(true), HandlerService::noErr);
    const QByteArray script = xdg.readFile(routerScriptPath());
    ASSERT_TRUE(script.contains("/bin/sh")) << script.constData();
    // The next start runs from elsewhere: the handler follows, and keeps its browser to fall back to.
    RoutedDefaults moved(plain, plain, QStringLiteral("/usr/bin/env"));
    ASSERT_EQ(moved.mendHandler(), HandlerService::noErr);
    const QByteArray after = xdg.readFile(routerScriptPath());
    EXPECT_TRUE(after.contains("/usr/bin/env")) << after.constData();
    EXPECT_FALSE(after.contains("/bin/sh'")) << after.constData();
    EXPECT_EQ(moved.state(), LinkRouting::State::on);
    EXPECT_EQ(moved.defaultHandlerForURLScheme("https").value_or(QString()), QString("pages.desktop"));
}
