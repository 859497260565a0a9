// SPDX-License-Identifier: GPL-3.0-or-later
// The picker's keys, wherever the keyboard focus sits when the key comes.
#include "app/ui/links/LinkPicker.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using Tolvane::LinkPicker;
using Tolvane::ListedBrowser;
using Tolvane::PickerChoices;

namespace {

PickerChoices threeBrowsers() {
    PickerChoices choices;
    for (const char* name : {"Alpha", "Bravo", "Charlie"}) {
        ListedBrowser listed;
        listed.browser.appName = QString::fromLatin1(name);
        listed.desktopId = QString::fromLatin1(name).toLower() + QStringLiteral(".desktop");
        choices.browsers << listed;
    }
    choices.chosenDesktopId = QStringLiteral("charlie.desktop");
    return choices;
}

} // namespace

// A key can reach a button the user tabbed to, or the window itself before Qt has given the list
// the focus (a key typed the moment the window appears): both must still answer.
TEST(LinkPickerKeys, AnswerWhereverTheFocusIs) {
    const QStringList links{QStringLiteral("https://example.org/")};
    for (const bool toButton : {false, true}) {
        SCOPED_TRACE(toButton ? "focus on a button" : "no focus widget");
        struct Case {
            int key;
            std::optional<qsizetype> picked; // none: dropped
        };
        for (const Case& c :
             {Case{Qt::Key_2, 1}, Case{Qt::Key_Return, 2}, Case{Qt::Key_Escape, std::nullopt}}) {
            LinkPicker picker(links, threeBrowsers(), QStringLiteral("example.org"));
            picker.show();
            QSignalSpy picked(&picker, &LinkPicker::picked);
            QSignalSpy dropped(&picker, &LinkPicker::dropped);
            QWidget* target = &picker;
            if (toButton)
                target = picker.findChildren<QPushButton*>().constFirst();
            QTest::keyClick(target, Qt::Key(c.key));
            if (c.picked) {
                ASSERT_EQ(picked.size(), 1) << "key " << c.key;
                EXPECT_EQ(picked.first().first().value<qsizetype>(), *c.picked);
                EXPECT_TRUE(dropped.isEmpty());
            } else {
                EXPECT_EQ(dropped.size(), 1);
                EXPECT_TRUE(picked.isEmpty());
            }
        }
    }
}
