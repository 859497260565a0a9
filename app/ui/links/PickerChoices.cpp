// SPDX-License-Identifier: GPL-3.0-or-later
#include "PickerChoices.h"

#include "platform/HandlerService.h"
#include "platform/Services.h"

namespace Tolvane {

PickerChoices PickerChoices::load() {
    PickerChoices choices;
    choices.browsers = listedBrowsers();
    choices.chosenDesktopId = platform::get<platform::HandlerService>()
                                  ->defaultHandlerForURLScheme(QStringLiteral("https"))
                                  .value_or(QString());
    return choices;
}

qsizetype PickerChoices::chosenIndex() const {
    if (chosenDesktopId.isEmpty())
        return -1;
    for (qsizetype i = 0; i < browsers.size(); ++i)
        if (browsers[i].desktopId == chosenDesktopId)
            return i;
    return -1;
}

} // namespace Tolvane
