#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program on an X display of its own (Xvfb), under a window manager when openbox
# is installed, as the program meets a desktop.
#   tests/app/screen/on_x_display.sh PROGRAM [ARGS...]
set -euo pipefail
# In the sanitised build, leaks are not checked on an X display: D-Bus and the GL driver, which
# Qt's xcb platform loads and unloads again, leave allocations that can be named by no library
# (the driver is gone when the leak check runs). The offscreen suites check our code for leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
exec xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  wm=""
  if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & wm=$!; sleep 1; fi
  status=0
  QT_QPA_PLATFORM=xcb "$@" || status=$?
  if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; fi
  exit "$status"
' _ "$@"
