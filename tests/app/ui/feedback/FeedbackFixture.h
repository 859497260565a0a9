// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A feedback window on screen, talking to the loopback stand-in of the service, with fakes for the
// alert and the system facts.
#include "LoopbackServer.h"
#include "URLRequest.h"
#include "URLSession.h"
#include "app/ui/feedback/FeedbackView.h"
#include "app/ui/feedback/FeedbackWindow.h"

#include "TaskButtons/AsyncButton.h"
#include "TaskButtons/PlatformButton.h"
#include "platform/Services.h"
#include "platform/fake/FakeAlert.h"
#include "platform/fake/FakeMainBundle.h"
#include "platform/fake/FakeSystemInfo.h"

#include <QJsonArray>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class FeedbackFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<LoopbackServer>(); }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        bundle->info = {{"CFBundleShortVersionString", "2.1"}, {"CFBundleVersion", "45"}};
        system->version = {12, 4, 0};
        system->model = "Test Machine";
        Tolvane::FeedbackView::setServiceURL(server().url());
        ASSERT_TRUE(files.isValid());
        openWindow();
    }
    void TearDown() override {
        Tolvane::FeedbackView::setServiceURL(std::nullopt);
        delete window.data();
    }

    static LoopbackServer& server() { return *server_; }

    void openWindow() {
        delete window.data();
        window = new Tolvane::FeedbackWindow;
        window->setAttribute(Qt::WA_DeleteOnClose);
        view()->setFileImporter([this](QWidget*, Tolvane::FileImportCompletion done) -> QWidget* {
            ++pickerShown;
            done(nextPick);
            return nullptr;
        });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    Tolvane::FeedbackView* view() const { return window->view(); }
    TaskButtons::AsyncButton* submitButton() const { return view()->submitButton(); }

    QString makeFile(const QString& name, const QByteArray& bytes) {
        const QString path = files.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Picks the file through the view's "Choose File" button.
    void choose(const QString& path) {
        nextPick = {{QUrl::fromLocalFile(path)}, std::nullopt};
        QTest::mouseClick(view()->chooseFileButton(), Qt::LeftButton);
    }

    // Presses Submit and waits for the run to end; true when it failed.
    bool submit() {
        if (!submitButton()->isEnabled()) {
            ADD_FAILURE() << "Submit is not enabled";
            return true;
        }
        QSignalSpy finished(submitButton(), &TaskButtons::AsyncButton::runFinished);
        QTest::mouseClick(submitButton()->platformButton(), Qt::LeftButton);
        if (finished.isEmpty() && !finished.wait(60000)) {
            ADD_FAILURE() << "the submit run did not end";
            return true;
        }
        return finished.first().first().toBool();
    }

    // What the service received, oldest first.
    static QJsonArray received() {
        Tellwick::URLRequest request;
        request.request.setUrl(server().url("received"));
        request.httpMethod = "GET";
        auto outcome = runTask(Tellwick::data(Tellwick::sharedSession(), request));
        return outcome.value ? QJsonDocument::fromJson(outcome.value->first).array() : QJsonArray{};
    }
    static QJsonObject lastReceived() {
        const QJsonArray all = received();
        return all.isEmpty() ? QJsonObject{} : all.last().toObject();
    }
    static QJsonArray parts(const QJsonObject& request) {
        return request["multipart"].toObject()["parts"].toArray();
    }
    static QStringList partNames(const QJsonObject& request) {
        QStringList names;
        for (const auto& part : parts(request))
            names << part.toObject()["name"].toString();
        return names;
    }
    static QJsonObject partNamed(const QJsonObject& request, const QString& name) {
        for (const auto& part : parts(request))
            if (part.toObject()["name"].toString() == name)
                return part.toObject();
        return {};
    }
    static QByteArray partData(const QJsonObject& part) {
        return QByteArray::fromBase64(part["data_base64"].toString().toLatin1());
    }

    std::shared_ptr<platform::fake::FakeAlert> alert = std::make_shared<platform::fake::FakeAlert>();
    std::shared_ptr<platform::fake::FakeSystemInfo> system =
        std::make_shared<platform::fake::FakeSystemInfo>();
    std::shared_ptr<platform::fake::FakeMainBundle> bundle =
        std::make_shared<platform::fake::FakeMainBundle>();
    platform::Override<platform::Alert> alertGuard{alert};
    platform::Override<platform::SystemInfo> systemGuard{system};
    platform::Override<platform::MainBundle> bundleGuard{bundle};

    QTemporaryDir files;
    QPointer<Tolvane::FeedbackWindow> window;
    Tolvane::FileImportResult nextPick;
    int pickerShown = 0;

private:
    static inline std::unique_ptr<LoopbackServer> server_;
};
