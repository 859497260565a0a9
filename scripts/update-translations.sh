#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings resources/translations/*.ts up to date with the texts in the source tree: new texts arrive
# unfinished for a translator, texts no longer in the code are dropped.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
"$lupdate" -locations none -no-obsolete app AboutBox GlobalKeys StartAtLogin TaskButtons feedback platform \
  -ts resources/translations/tolvane_*.ts
