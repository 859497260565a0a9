// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's alert: a message box, modal on the window it concerns.
#include "platform/linux/session/MessageBoxAlert.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Shown {
    QWidget* parent = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
    int answer = -1;
};

// Runs the alert and, from inside its loop, notes how the box came up and clicks button `index`.
Shown runAnswering(const platform::AlertRequest& request, int index) {
    Shown shown;
    QTimer::singleShot(0, [&shown, index] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown.parent = box->parentWidget();
        shown.modality = box->windowModality();
        box->buttons().at(index)->click();
    });
    shown.answer = platform::linux_::MessageBoxAlert().runModal(request);
    return shown;
}

} // namespace

TEST(MessageBoxAlert, IsWindowModalOnTheWindowItConcerns) {
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    platform::AlertRequest request;
    request.messageText = "Taken";
    request.buttons = {"OK", "Use It Anyway"};
    request.window = &window;

    const Shown sheet = runAnswering(request, 1);
    EXPECT_EQ(sheet.parent, &window);
    EXPECT_EQ(sheet.modality, Qt::WindowModal);
    EXPECT_EQ(sheet.answer, 1);

    request.window = nullptr; // concerning no window: the whole application waits
    const Shown box = runAnswering(request, 0);
    EXPECT_EQ(box.parent, nullptr);
    EXPECT_EQ(box.modality, Qt::ApplicationModal);
    EXPECT_EQ(box.answer, 0);
}
