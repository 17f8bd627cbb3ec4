#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program on an X display of its own (Xvfb), under a window manager when openbox
# is installed, as the program meets a desktop.
#   tests/app/screen/on_x_display.sh PROGRAM [ARGS...]
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  wm=""
  if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & wm=$!; sleep 1; fi
  status=0
  QT_QPA_PLATFORM=xcb "$@" || status=$?
  if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; fi
  exit "$status"
' _ "$@"
