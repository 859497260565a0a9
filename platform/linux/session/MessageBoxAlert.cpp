// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxAlert.h"

#include <QMessageBox>
#include <QPushButton>

namespace platform::linux_ {

int MessageBoxAlert::runModal(const AlertRequest& request) {
    QMessageBox box(request.window);
    // A sheet of the window it concerns: the rest of the application stays usable.
    if (request.window)
        box.setWindowModality(Qt::WindowModal);
    box.setText(request.messageText);
    box.setInformativeText(request.informativeText);
    switch (request.style) {
    case AlertRequest::Style::Informational:
        box.setIcon(QMessageBox::Information);
        break;
    case AlertRequest::Style::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case AlertRequest::Style::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    QList<QAbstractButton*> buttons;
    if (request.buttons.isEmpty()) {
        buttons << box.addButton(QMessageBox::Ok);
    } else {
        for (const QString& title : request.buttons)
            buttons << box.addButton(title,
                                     buttons.isEmpty() ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
    // Escape or closing the box means the first answer, never a later (possibly riskier) one.
    box.setEscapeButton(buttons.first());
    box.exec();
    const qsizetype index = buttons.indexOf(box.clickedButton());
    return index < 0 ? 0 : int(index);
}

} // namespace platform::linux_
