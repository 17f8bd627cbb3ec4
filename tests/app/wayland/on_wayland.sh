#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program as a client of a headless Wayland compositor (weston) of its own. Where
# weston is not installed the program runs offscreen with LANGXING_NO_WAYLAND=1 set, and its
# tests skip themselves.
#   tests/app/wayland/on_wayland.sh PROGRAM [ARGS...]
set -euo pipefail
if ! command -v weston >/dev/null; then
  LANGXING_NO_WAYLAND=1 QT_QPA_PLATFORM=offscreen exec "$@"
fi
runtime=$(mktemp -d)
socket="langxing-test-$$"
export XDG_RUNTIME_DIR="$runtime"
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 >"$runtime/weston.log" 2>&1 &
compositor=$!
cleanup() {
  kill "$compositor" 2>/dev/null || true
  wait "$compositor" 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 100); do
  [ -S "$runtime/$socket" ] && break
  if ! kill -0 "$compositor" 2>/dev/null; then
    cat "$runtime/weston.log" >&2
    echo "weston did not start" >&2
    exit 1
  fi
  sleep 0.1
done
# As for the window on an X display: the compositor's client library and the GL driver it
# unloads leave allocations at exit that no library name can suppress, so a sanitised build
# checks this process for leaks nowhere else; its offscreen runs keep the check.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
status=0
env -u DISPLAY WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "$@" || status=$?
exit "$status"
