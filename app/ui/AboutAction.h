// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <AboutBox/AppMetadata.h>

namespace Tolvane {

// What the About panel shows: icon, name, versions and copyright from the main bundle, the website.
AboutBox::AppMetadata aboutMetadata();
// Opens a new About panel, in front; earlier panels stay as they are.
void showAboutPanel();

} // namespace Tolvane
