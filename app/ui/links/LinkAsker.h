// SPDX-License-Identifier: GPL-3.0-or-later
// Answers "which browser?" for links a rule sends here: one picker at a time, the rest in line.
#pragma once

#include "LinkPicker.h"
#include "PickerChoices.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

namespace Tolvane {

struct LinkRequest {
    QStringList urls;
    QByteArray activationToken; // from the click that led here; may be empty

    friend bool operator==(const LinkRequest&, const LinkRequest&) = default;
};

// Requests are answered in the order they came, each in its own picker: a link a person clicked is
// never replaced by a later one. The same links asked again while they wait (a double click) are
// asked once. Every request brings the picker to the front with its own click's token. The browsers
// are gathered off the GUI thread; the window shows when they are in. Links still waiting when
// the asker goes (the program ends) open in the default browser: taken, a link is never lost.
class LinkAsker : public QObject {
    Q_OBJECT
public:
    explicit LinkAsker(QObject* parent = nullptr);
    ~LinkAsker() override;

    void ask(const LinkRequest& request);
    // A request is shown or waits.
    bool asking() const { return asking_ || !waiting_.isEmpty(); }
    // The picker on screen, if any (for tests and the bench).
    LinkPicker* picker() const { return picker_; }

signals:
    // Something happened that a person waits on: a request came or a picker closed.
    void activity();
    void pickerDrawn();

private:
    void askNext();
    void present(const PickerChoices& choices);
    void open(qsizetype index, bool always);
    void done();
    void bringForward();
    void handOver();
    void openInDefaultBrowser(const QList<LinkRequest>& owed);
    qsizetype waitingLinks() const;

    QList<LinkRequest> waiting_;
    LinkRequest current_;
    PickerChoices choices_;
    QByteArray unspentToken_; // the newest click's, until a window used it
    bool asking_ = false;
    QPointer<LinkPicker> picker_;
};

} // namespace Tolvane
