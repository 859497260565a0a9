// SPDX-License-Identifier: GPL-3.0-or-later
// The picker's keys, wherever the keyboard focus sits when the key comes, and what it shows of a link
// dressed up to look like another.
#include "app/ui/links/LinkPicker.h"
#include "app/ui/links/LinkSite.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
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

// Whatever a link holds, the picker fits the screen, every control stays on it, the host the browser
// will load is there in full (wrapped, never cut), and nothing in the link reorders or hides text.
TEST(LinkPickerShows, WhereTheLinkReallyGoesOnScreen) {
    // 250 characters in labels a rule accepts: long enough to have widened the window past any screen.
    QString longHost;
    for (const char label : {'a', 'b', 'c', 'd'})
        longHost += QString(59, QLatin1Char(label)) + QLatin1Char('.');
    longHost += QStringLiteral("evil.net");
    struct Case {
        QString link;
        QString host;       // the host the picker must show whole
        QString notTheSite; // what "Always open … here" must never name
    };
    for (const Case& c : {
             Case{QStringLiteral("https://") + longHost + QStringLiteral("/login"), longHost, {}},
             Case{QStringLiteral("https://moc.knab-elpmaxe.stnuocca\u202E@evil.net/"),
                  QStringLiteral("evil.net"),
                  {}},
             Case{QStringLiteral("https://evil.net\\@accounts.example-bank.com/"), QStringLiteral("evil.net"),
                  QStringLiteral("accounts.example-bank.com")},
             Case{QStringLiteral("https://evil.net\u200B.example-bank.com/"),
                  QStringLiteral("evil.net.example-bank.com"),
                  {}},
         }) {
        SCOPED_TRACE(c.link.toStdString());
        const QStringList links{c.link};
        LinkPicker picker(links, threeBrowsers(), Tolvane::sharedSite(links));
        picker.show();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(screen.contains(picker.frameGeometry()))
            << picker.frameGeometry().width() << " px wide on a screen of " << screen.width();
        for (QAbstractButton* button : picker.findChildren<QAbstractButton*>()) {
            if (button->isHidden())
                continue;
            const QRect at(button->mapTo(&picker, QPoint(0, 0)), button->size());
            EXPECT_TRUE(picker.rect().contains(at)) << button->text().toStdString() << " is off the window";
        }
        QString shown;
        for (QLabel* label : picker.findChildren<QLabel*>())
            if (!label->isHidden())
                shown += label->text() + QLatin1Char('\n');
        for (QAbstractButton* button : picker.findChildren<QAbstractButton*>())
            if (!button->isHidden())
                shown += button->text() + QLatin1Char('\n');
        EXPECT_TRUE(QString(shown).remove(QLatin1Char('\n')).contains(c.host)) << shown.toStdString();
        for (const QChar ch : shown)
            EXPECT_NE(ch.category(), QChar::Other_Format)
                << "U+" << std::hex << int(ch.unicode()) << " applied";
        auto* always = picker.findChild<QCheckBox*>();
        if (!c.notTheSite.isEmpty() && always && !always->isHidden()) {
            EXPECT_FALSE(always->text().contains(c.notTheSite)) << always->text().toStdString();
        }
    }
}
