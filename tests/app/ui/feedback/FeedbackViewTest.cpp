// SPDX-License-Identifier: GPL-3.0-or-later
// The feedback window sending to a loopback server whose multipart reader is Python's own.
#include "FeedbackFixture.h"

#include "AppDisplayName.h"
#include "app/ui/feedback/ElidedLabel.h"
#include "support/CaptureStdout.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

#include <gmock/gmock.h>

#include <sys/stat.h>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Tolvane::FeedbackView;

namespace {

QFileDialog* visibleDialog(QWidget* window) {
    for (auto* dialog : window->findChildren<QFileDialog*>())
        if (dialog->isVisible())
            return dialog;
    return nullptr;
}

const QString appKey = "3f1c7a52-6d0e-4b8a-9e21-7c4d5b0a8f36";
const QStringList attributeParts{"value[attributes][app build]", "value[attributes][app version]",
                                 "value[attributes][model]",     "value[attributes][os]",
                                 "value[attributes][system]",    "value[attributes][twk.v]"};

QStringList withAttributes(QStringList names) {
    return names + attributeParts;
}

QByteArray pngBytes() {
    // A PNG signature and bytes that a text-minded encoder would mangle.
    return QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200") + QByteArray("\r\n--\0\xff", 6);
}

} // namespace

TEST_F(FeedbackFixture, NothingIsSentUntilSomethingIsWrittenThenTheFirstFormGoesAndTheWindowCloses) {
    const int before = received().size();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    for (const QString& nothing : {QString(), QString(" \n\t ")}) {
        view()->setFeedbackText(nothing);
        EXPECT_FALSE(submitButton()->isEnabled()) << "Submit with nothing written";
        view()->chooseFileButton()->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        QTest::mouseClick(submitButton()->platformButton(), Qt::LeftButton);
        EXPECT_FALSE(submitButton()->isRunning());
    }
    EXPECT_EQ(received().size(), before) << "an empty message was sent";

    view()->setFeedbackText(QString());
    view()->editor()->setFocus();
    QTest::keyClicks(view()->editor(), "hello");
    EXPECT_TRUE(submitButton()->isEnabled());
    EXPECT_FALSE(submit());

    const QJsonArray all = received();
    ASSERT_EQ(all.size(), before + 1);
    const QJsonObject request = all.last().toObject();
    EXPECT_EQ(request["request_line"].toString(), "POST /api/values HTTP/1.1");
    EXPECT_THAT(partNames(request), ElementsAreArray(withAttributes({"value[key]", "value[content]"})));
    EXPECT_EQ(partData(partNamed(request, "value[key]")), appKey.toUtf8());
    EXPECT_EQ(partData(partNamed(request, "value[content]")), "hello");
    EXPECT_EQ(partData(partNamed(request, "value[attributes][os]")), "12.4.0");
    EXPECT_EQ(partData(partNamed(request, "value[attributes][system]")), "Linux");
    EXPECT_EQ(partData(partNamed(request, "value[attributes][model]")), "Test Machine");
    EXPECT_EQ(partData(partNamed(request, "value[attributes][app version]")), "2.1");
    EXPECT_EQ(partData(partNamed(request, "value[attributes][app build]")), "45");

    EXPECT_TRUE(alert->shown.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "the window closes after a successful send";
}

TEST_F(FeedbackFixture, PngAttachmentGoesAsImageWithItsFileName) {
    const QString path = makeFile("screen shot.png", pngBytes());
    choose(path);
    EXPECT_EQ(view()->attachmentURL(), QUrl::fromLocalFile(path));
    EXPECT_TRUE(view()->attachmentLabel()->isVisible());
    EXPECT_EQ(view()->attachmentLabel()->text(), "screen shot.png");
    view()->setFeedbackText("It crashed\n  when I clicked twice ");

    EXPECT_FALSE(submit());
    const QJsonObject request = lastReceived();
    EXPECT_THAT(partNames(request),
                ElementsAreArray(withAttributes({"value[key]", "value[content]", "file"})));
    EXPECT_EQ(partData(partNamed(request, "value[content]")), "It crashed\n  when I clicked twice ")
        << "the message goes as typed, not trimmed";
    const QJsonObject file = partNamed(request, "file");
    EXPECT_EQ(file["filename"].toString(), "screen shot.png");
    EXPECT_EQ(file["content_type"].toString(), "image/png");
    EXPECT_EQ(partData(file), pngBytes());
    EXPECT_TRUE(alert->shown.isEmpty());
}

TEST_F(FeedbackFixture, AttachmentOfAnotherKindIsLeftOutSilently) {
    for (const QString name : {"archive.zip", "data.json", "mystery.qqzzx", "Makefile"}) {
        SCOPED_TRACE(name.toStdString());
        const int before = received().size();
        openWindow();
        choose(makeFile(name, "PK\x03\x04 not really"));
        view()->setFeedbackText("see attached");
        EXPECT_FALSE(submit());
        const QJsonArray all = received();
        ASSERT_EQ(all.size(), before + 1);
        EXPECT_THAT(partNames(all.last().toObject()),
                    ElementsAreArray(withAttributes({"value[key]", "value[content]"})));
    }
    EXPECT_TRUE(alert->shown.isEmpty()) << "a left-out attachment raises no warning";
}

TEST_F(FeedbackFixture, FailedSendWarnsAndKeepsTextAndAttachment) {
    const QString path = makeFile("log.txt", "line one\nline two\n");
    choose(path);
    view()->setFeedbackText("please look");
    FeedbackView::setServiceURL(server().url("status/500"));
    bool visibleDuringAlert = false;
    alert->onShow = [&](const platform::AlertRequest&) {
        visibleDuringAlert = window && window->isVisible();
    };

    {
        CaptureStdout out;
        EXPECT_TRUE(submit()) << "the button counts a failed run";
        // The user's words stay out of the log, sent or not.
        EXPECT_THAT(out.lines(), ElementsAre("Feedback submitted", "Attachment: " + path,
                                             "Error sending feedback: Invalid HTTP status code: 500."));
    }
    ASSERT_EQ(alert->shown.size(), 1);
    EXPECT_EQ(alert->shown[0].messageText, "Connection unsuccessful");
    EXPECT_EQ(alert->shown[0].informativeText, "Invalid HTTP status code: 500.");
    EXPECT_EQ(alert->shown[0].style, platform::AlertRequest::Style::Warning);
    EXPECT_TRUE(alert->shown[0].buttons.isEmpty()) << "the platform's single default button";
    EXPECT_EQ(alert->shown[0].window, window.data()) << "modal on the feedback window";
    EXPECT_TRUE(visibleDuringAlert);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(view()->feedbackText(), "please look");
    EXPECT_EQ(view()->attachmentURL(), QUrl::fromLocalFile(path));
    EXPECT_EQ(view()->attachmentLabel()->text(), "log.txt");
    EXPECT_EQ(submitButton()->errorCount(), 1);
    EXPECT_FALSE(submitButton()->isRunning());

    // The same window sends once the service is back.
    FeedbackView::setServiceURL(server().url());
    EXPECT_FALSE(submit());
    const QJsonObject request = lastReceived();
    EXPECT_EQ(partData(partNamed(request, "value[content]")), "please look");
    EXPECT_EQ(partNamed(request, "file")["content_type"].toString(), "text/plain");
    EXPECT_EQ(partData(partNamed(request, "file")), "line one\nline two\n");
    EXPECT_EQ(alert->shown.size(), 1);
}

TEST_F(FeedbackFixture, TransportFailureAndUnreadableAttachmentWarnToo) {
    view()->setFeedbackText("dropped");
    FeedbackView::setServiceURL(server().url("close"));
    EXPECT_TRUE(submit());
    ASSERT_EQ(alert->shown.size(), 1);
    EXPECT_EQ(alert->shown[0].messageText, "Connection unsuccessful");
    EXPECT_FALSE(alert->shown[0].informativeText.isEmpty());

    // Chosen, then gone before the send: nothing is sent and the user is told.
    FeedbackView::setServiceURL(server().url());
    const QString path = makeFile("gone.png", pngBytes());
    choose(path);
    ASSERT_TRUE(QFile::remove(path));
    const int before = received().size();
    {
        CaptureStdout out;
        EXPECT_TRUE(submit());
        const QStringList lines = out.lines();
        ASSERT_EQ(lines.size(), 3);
        EXPECT_THAT(lines[2].toStdString(), ::testing::StartsWith("Error sending feedback: "));
        EXPECT_THAT(lines[2].toStdString(), ::testing::HasSubstr("gone.png"));
    }
    EXPECT_EQ(received().size(), before);
    ASSERT_EQ(alert->shown.size(), 2);
    EXPECT_THAT(alert->shown[1].informativeText.toStdString(), ::testing::HasSubstr("gone.png"));
    EXPECT_EQ(view()->feedbackText(), "dropped");
    EXPECT_EQ(submitButton()->errorCount(), 2);
}

TEST_F(FeedbackFixture, OversizedAttachmentIsRefusedBeforeItIsRead) {
    view()->setFeedbackText("a long video");
    // Sparse: takes no disk, but its size is past the limit.
    const QString path = makeFile("huge.mp4", {});
    QFile huge(path);
    ASSERT_TRUE(huge.resize(FeedbackView::maximumAttachmentSize + 1));
    choose(path);
    const int before = received().size();
    EXPECT_TRUE(submit());
    EXPECT_EQ(received().size(), before);
    ASSERT_EQ(alert->shown.size(), 1);
    EXPECT_THAT(alert->shown[0].informativeText.toStdString(), ::testing::HasSubstr("larger than 256 MiB"));
    EXPECT_EQ(view()->attachmentURL(), QUrl::fromLocalFile(path)) << "the choice stays for another try";
}

TEST_F(FeedbackFixture, OnlyARegularFileIsReadAsAttachment) {
    // A named pipe would hold the window in open(); a link to a device would be read without end.
    const QString pipe = files.filePath("pipe.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString zero = files.filePath("zero.txt");
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    const int before = received().size();
    for (const QString& path : {pipe, zero}) {
        choose(path);
        EXPECT_TRUE(submit()) << path.toStdString();
    }
    EXPECT_EQ(received().size(), before);
    ASSERT_EQ(alert->shown.size(), 2);
    EXPECT_THAT(alert->shown[0].informativeText.toStdString(), ::testing::HasSubstr("“pipe.txt”"));
    EXPECT_THAT(alert->shown[1].informativeText.toStdString(), ::testing::HasSubstr("not a regular file"));
}

TEST_F(FeedbackFixture, ChoosingAgainReplacesTheAttachment) {
    const QString first = makeFile("first.png", pngBytes());
    const QString second = makeFile("second notes.txt", "notes");
    choose(first);
    choose(second);
    EXPECT_EQ(pickerShown, 2);
    EXPECT_FALSE(view()->showFilePicker());
    EXPECT_EQ(view()->attachmentURL(), QUrl::fromLocalFile(second));
    EXPECT_EQ(view()->attachmentLabel()->text(), "second notes.txt");

    // Backing out of the picker, or a picker failure, keeps the choice.
    nextPick = {};
    QTest::mouseClick(view()->chooseFileButton(), Qt::LeftButton);
    EXPECT_EQ(view()->attachmentURL(), QUrl::fromLocalFile(second));
    {
        CaptureStdout out;
        nextPick = {{}, QString("The folder could not be read.")};
        QTest::mouseClick(view()->chooseFileButton(), Qt::LeftButton);
        EXPECT_THAT(out.lines(), ElementsAre("Error selecting file: The folder could not be read."));
    }
    EXPECT_EQ(view()->attachmentURL(), QUrl::fromLocalFile(second));
    EXPECT_FALSE(view()->showFilePicker());

    EXPECT_FALSE(submit());
    const QJsonObject file = partNamed(lastReceived(), "file");
    EXPECT_EQ(file["filename"].toString(), "second notes.txt");
    EXPECT_EQ(partData(file), "notes");
}

TEST_F(FeedbackFixture, PrintsWhatItSendsBeforeSending) {
    const QString path = makeFile("a.pdf", "%PDF-1.4\n");
    choose(path);
    view()->setFeedbackText("with a document");
    CaptureStdout out;
    EXPECT_FALSE(submit());
    EXPECT_THAT(out.lines(), ElementsAre("Feedback submitted", "Attachment: " + path));
    EXPECT_EQ(partNamed(lastReceived(), "file")["content_type"].toString(), "application/pdf");
}

TEST_F(FeedbackFixture, ReturnSubmitsExceptInTheEditor) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const int before = received().size();

    view()->editor()->setFocus();
    QTest::keyClicks(view()->editor(), "two");
    QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    QTest::keyClicks(view()->editor(), "lines");
    EXPECT_EQ(view()->feedbackText(), "two\nlines") << "Return in the editor starts a new line";
    EXPECT_FALSE(submitButton()->isRunning());

    view()->chooseFileButton()->setFocus();
    QSignalSpy finished(submitButton(), &TaskButtons::AsyncButton::runFinished);
    QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    ASSERT_TRUE(finished.size() == 1 || finished.wait(60000));
    EXPECT_FALSE(finished.first().first().toBool());
    const QJsonArray all = received();
    ASSERT_EQ(all.size(), before + 1);
    EXPECT_EQ(partData(partNamed(all.last().toObject(), "value[content]")), "two\nlines");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(FeedbackFixture, ClosingTheWindowMidSendCancelsQuietly) {
    FeedbackView::setServiceURL(server().url("delay/30"));
    view()->setFeedbackText("slow");
    QSignalSpy started(submitButton(), &TaskButtons::AsyncButton::taskChanged);
    QTest::mouseClick(submitButton()->platformButton(), Qt::LeftButton);
    ASSERT_TRUE(submitButton()->isRunning());
    QTest::qWait(200);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    // The aborted transfer finishes from the event loop; the gone view must show nothing.
    QTest::qWait(300);
    EXPECT_TRUE(alert->shown.isEmpty());
}

TEST_F(FeedbackFixture, EscapeAndCtrlWCloseAndAskBeforeDroppingTypedText) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    view()->setFeedbackText("half a thought");
    alert->answers = {0};
    QTest::keyClick(view()->editor(), Qt::Key_W, Qt::ControlModifier);
    ASSERT_EQ(alert->shown.size(), 1);
    EXPECT_EQ(alert->shown[0].messageText, "Discard your feedback?");
    EXPECT_EQ(alert->shown[0].buttons, (QStringList{"Keep Editing", "Discard"}));
    EXPECT_EQ(alert->shown[0].window, window.data());
    EXPECT_TRUE(window->isVisible()) << "kept for editing";
    EXPECT_EQ(view()->feedbackText(), "half a thought");

    alert->answers = {1};
    QTest::keyClick(view()->editor(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "discarded";

    openWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(view()->editor(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "nothing typed: nothing to ask";
    EXPECT_EQ(alert->shown.size(), 2);
}

TEST_F(FeedbackFixture, DesktopPickerOffersOneFileOfTheAcceptedKinds) {
    view()->setFileImporter(Tolvane::dialogFileImporter());
    const QString path = makeFile("clip.mp4", "not a real video");

    QTest::mouseClick(view()->chooseFileButton(), Qt::LeftButton);
    EXPECT_TRUE(view()->showFilePicker());
    QFileDialog* dialog = visibleDialog(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_TRUE(dialog->isVisible());
    const QString filter = dialog->nameFilters().join(' ');
    for (const char* pattern : {"*.png", "*.jpg", "*.mp4", "*.txt", "*.pdf", "*.svg"})
        EXPECT_TRUE(filter.contains(QString(pattern) + ' ') || filter.contains(QString(pattern) + ')'))
            << pattern;
    for (const char* pattern : {"*.zip", "*.exe", "*.docx"})
        EXPECT_FALSE(filter.contains(QString(pattern) + ' ') || filter.contains(QString(pattern) + ')'))
            << pattern;

    dialog->setDirectory(files.path());
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
    EXPECT_FALSE(view()->showFilePicker());
    EXPECT_EQ(view()->attachmentURL(), QUrl::fromLocalFile(path));
    EXPECT_EQ(view()->attachmentLabel()->text(), "clip.mp4");

    // Backing out keeps the file; so does taking the picker down.
    QTest::mouseClick(view()->chooseFileButton(), Qt::LeftButton);
    dialog = visibleDialog(window);
    ASSERT_NE(dialog, nullptr);
    dialog->reject();
    EXPECT_FALSE(view()->showFilePicker());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::mouseClick(view()->chooseFileButton(), Qt::LeftButton);
    ASSERT_TRUE(view()->showFilePicker());
    QPointer<QFileDialog> open = visibleDialog(window);
    ASSERT_FALSE(open.isNull());
    view()->setShowFilePicker(false);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(open.isNull()) << "the picker is taken down";
    EXPECT_EQ(view()->attachmentURL(), QUrl::fromLocalFile(path));
}

// Offline, the alert says what happened and what to do, not the network layer's words.
TEST_F(FeedbackFixture, UnreachableServiceIsExplainedInPlainWords) {
    view()->setFeedbackText("anyone there?");
    FeedbackView::setServiceURL(QUrl("https://feedback.tolvane.invalid/"));
    QStringList log;
    {
        CaptureStdout out;
        EXPECT_TRUE(submit());
        log = out.lines();
    }
    ASSERT_EQ(alert->shown.size(), 1);
    EXPECT_EQ(alert->shown[0].messageText, "Connection unsuccessful");
    EXPECT_EQ(alert->shown[0].informativeText,
              Tolvane::appDisplayName() +
                  " could not reach the feedback service. Check that this computer is connected to the "
                  "internet, then try again.");
    // The log keeps the network layer's own words for whoever reads it.
    EXPECT_THAT(log.join('\n').toStdString(), ::testing::HasSubstr("feedback.tolvane.invalid"));
    EXPECT_EQ(view()->feedbackText(), "anyone there?");
}

// Keyboard only: Tab leaves the text box, the focus on Submit shows, and the window says what goes
// along with the message before anything is sent.
TEST_F(FeedbackFixture, KeyboardUsersCanLeaveTheTextBoxAndSeeWhereTheFocusIs) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    view()->editor()->setFocus();
    QTest::keyClicks(view()->editor(), "typed");
    const QImage unfocused = window->grab().toImage();

    QTest::keyClick(view()->editor(), Qt::Key_Tab);
    EXPECT_EQ(view()->feedbackText(), "typed") << "Tab typed into the text box";
    EXPECT_EQ(QApplication::focusWidget(), view()->chooseFileButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), submitButton()->platformButton());
    const QImage focused = window->grab().toImage();
    // Around the button, where a focus indicator is drawn.
    const QRect around = QRect(submitButton()->mapTo(window, QPoint(0, 0)), submitButton()->size())
                             .adjusted(-4, -4, 4, 4)
                             .intersected(window->rect());
    const qreal ratio = focused.devicePixelRatio();
    const QRect pixels(around.topLeft() * ratio, around.size() * ratio);
    EXPECT_NE(focused.copy(pixels), unfocused.copy(pixels)) << "Submit looks the same with the focus";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), view()->editor()) << "Shift+Tab comes back";

    const QString note = view()->sentAlongNote()->text();
    for (const char* sent : {"2.1", "Linux 12.4.0", "Test Machine"})
        EXPECT_THAT(note.toStdString(), ::testing::HasSubstr(sent));
    EXPECT_TRUE(view()->sentAlongNote()->isVisible());
}

// Screen readers need a name for each control; the button's text lives in its content view.
TEST_F(FeedbackFixture, ControlsHaveAccessibleNames) {
    const auto nameOf = [](QObject* object) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
        return face ? face->text(QAccessible::Name) : QString();
    };
    EXPECT_EQ(nameOf(view()->editor()), "Message");
    EXPECT_EQ(nameOf(submitButton()->platformButton()), "Submit");
    EXPECT_EQ(nameOf(view()->chooseFileButton()), "Choose File");
}

// Run also on a 1280x800 screen at scale 2: the window fits and Submit can be scrolled to.
TEST_F(FeedbackFixture, OnASmallScreenTheWindowFitsAndSubmitIsReachable) {
    const QSize room = window->screen()->availableGeometry().size();
    EXPECT_LE(window->width(), room.width()) << "screen " << room.width() << "x" << room.height();
    EXPECT_LE(window->height(), room.height()) << "screen " << room.width() << "x" << room.height();
    auto* area = window->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    area->ensureWidgetVisible(submitButton());
    const QRect submitShown(submitButton()->mapTo(window, QPoint(0, 0)), submitButton()->size());
    EXPECT_TRUE(window->rect().contains(submitShown)) << "Submit cannot be brought into view";
}
