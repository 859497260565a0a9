// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Everything an application needs from the library in one include.
#include "GlobalKeys/CarbonGlobalKeys.h"
#include "GlobalKeys/Key.h"
#include "GlobalKeys/LocalEventMonitor.h"
#include "GlobalKeys/MenuItemBinding.h"
#include "GlobalKeys/Modifiers.h"
#include "GlobalKeys/Name.h"
#include "GlobalKeys/Notifier.h"
#include "GlobalKeys/Shortcut.h"
#include "GlobalKeys/ShortcutListener.h"
#include "GlobalKeys/Shortcuts.h"
#include "GlobalKeys/resource_bundle_accessor/ResourceBundle.h"
