// SPDX-License-Identifier: GPL-3.0-or-later
// The window's layout numbers and the attachment's media type.
#include "app/ui/feedback/ElidedLabel.h"
#include "app/ui/feedback/FeedbackView.h"
#include "app/ui/feedback/FeedbackWindow.h"

#include "TaskButtons/AsyncButton.h"
#include "TaskButtons/PlatformButton.h"
#include "platform/Services.h"
#include "platform/fake/FakeMainBundle.h"
#include "platform/fake/FakeSystemInfo.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using Tolvane::FeedbackView;

namespace {

QRect inView(const QWidget* widget, const QWidget* view) {
    return QRect(widget->mapTo(view, QPoint(0, 0)), widget->size());
}

// The window names what goes along with a message: the application's and the system's facts.
struct Facts {
    platform::Override<platform::MainBundle> bundle{std::make_shared<platform::fake::FakeMainBundle>()};
    platform::Override<platform::SystemInfo> system{std::make_shared<platform::fake::FakeSystemInfo>()};
};

std::optional<QString> typeOf(const QString& name) {
    return FeedbackView::attachmentContentType(QUrl::fromLocalFile("/home/user/" + name));
}

} // namespace

TEST(AttachmentContentTypeTest, AcceptsImagesVideosTextAndPdfByExtension) {
    EXPECT_EQ(typeOf("shot.png"), "image/png");
    EXPECT_EQ(typeOf("PHOTO.JPG"), "image/jpeg");
    EXPECT_EQ(typeOf("drawing.svg"), "image/svg+xml");
    EXPECT_EQ(typeOf("clip.mp4"), "video/mp4");
    EXPECT_EQ(typeOf("notes.txt"), "text/plain");
    EXPECT_EQ(typeOf("page.html"), "text/html");
    EXPECT_EQ(typeOf("manual.pdf"), "application/pdf");
    EXPECT_EQ(typeOf("v1.2 report.PDF"), "application/pdf");
}

TEST(AttachmentContentTypeTest, RefusesOtherKindsAndUnknownNames) {
    for (const char* name : {"archive.zip", "backup.tar.gz", "data.json", "setup.exe", "letter.docx",
                             "Makefile", "unknown.qqzzx", "trailing.", ".hidden"}) {
        EXPECT_EQ(typeOf(name), std::nullopt) << name;
    }
}

TEST(AttachmentContentTypeTest, GoesByTheExtensionNotTheContents) {
    QTemporaryDir dir;
    const QString path = dir.filePath("really-a-picture.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"));
    file.close();
    EXPECT_EQ(FeedbackView::attachmentContentType(QUrl::fromLocalFile(path)), "text/plain");
}

TEST(FeedbackLayoutTest, StackNumbers) {
    Facts facts;
    Tolvane::FeedbackWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    FeedbackView* view = window.view();

    EXPECT_EQ(window.windowTitle(), "Send Feedback");
    EXPECT_EQ(view->width(), 400);
    EXPECT_EQ(window.size(), view->size()) << "the window is as large as its content";

    auto* title = view->findChild<QLabel*>("title");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Send Feedback");
    EXPECT_GT(QFontInfo(title->font()).pixelSize(), QFontInfo(view->font()).pixelSize() * 3 / 2)
        << "a large title";
    const QRect titleRect = inView(title, view);
    EXPECT_EQ(titleRect.topLeft(), QPoint(20, 20));

    const QRect editor = inView(view->editor(), view);
    EXPECT_EQ(editor.left(), 20);
    EXPECT_EQ(editor.width(), 360);
    EXPECT_EQ(editor.height(), 200);
    EXPECT_EQ(editor.top() - (titleRect.bottom() + 1), 30) << "20 of spacing and 10 of padding";

    const QRect choose = inView(view->chooseFileButton(), view);
    EXPECT_EQ(choose.right(), 379);
    EXPECT_EQ(choose.top() - (editor.bottom() + 1), 30);
    EXPECT_EQ(view->chooseFileButton()->text(), "Choose File");
    EXPECT_FALSE(view->attachmentLabel()->isVisible()) << "no file name without an attachment";

    const QRect submit = inView(view->submitButton(), view);
    EXPECT_EQ(submit.right(), 379);
    EXPECT_EQ(view->height() - (submit.bottom() + 1), 20);
    EXPECT_TRUE(view->submitButton()->platformButton()->isDefault()) << "Return presses it";
    EXPECT_FALSE(view->submitButton()->isEnabled()) << "nothing to send yet";
}

TEST(FeedbackLayoutTest, EditorHasAOnePointGrayBorderInside) {
    Facts facts;
    Tolvane::FeedbackWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QPlainTextEdit* editor = window.view()->editor();
    const QImage image = editor->grab().toImage();
    ASSERT_EQ(image.height(), 200);
    const QColor edge = image.pixelColor(image.width() / 2, 0);
    const QColor inside = image.pixelColor(image.width() / 2, 1);
    EXPECT_EQ(edge, QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(0, image.height() / 2), edge);
    EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() / 2), edge);
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() - 1), edge);
    EXPECT_NE(inside, edge) << "one point wide";
}

TEST(FeedbackLayoutTest, LongFileNameStaysOnOneLineInsideTheRow) {
    Facts facts;
    Tolvane::FeedbackWindow window;
    QTemporaryDir dir;
    const QString name = QString("a-very-long-file-name-").repeated(8) + "end.png";
    const QString path = dir.filePath(name);
    window.view()->setFileImporter([&](QWidget*, Tolvane::FileImportCompletion done) -> QWidget* {
        done({{QUrl::fromLocalFile(path)}, std::nullopt});
        return nullptr;
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.view()->chooseFileButton(), Qt::LeftButton);
    QCoreApplication::processEvents();

    Tolvane::ElidedLabel* label = window.view()->attachmentLabel();
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), name);
    EXPECT_TRUE(label->displayedText().endsWith(QString::fromUtf8("…")));
    EXPECT_EQ(label->height(), label->fontMetrics().height());
    EXPECT_EQ(window.view()->width(), 400) << "a long name does not widen the window";
    EXPECT_EQ(inView(window.view()->chooseFileButton(), window.view()).right(), 379);
    EXPECT_LE(inView(label, window.view()).right(),
              inView(window.view()->chooseFileButton(), window.view()).left());
}
