#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch DESTDIR and checks the layout and the menu entry, then
# builds the Debian package, unpacks it and runs both programs from the unpacked tree.
#   install_test.sh BUILD_DIR WITH_WINDOW(0|1)
set -euo pipefail

build_dir=$1
with_window=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/langxing-install-XXXXXX")
window_pid=""
cleanup() {
  if [ -n "$window_pid" ]; then kill "$window_pid" 2>/dev/null || true; wait "$window_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_file() { [ -f "$1" ] || fail "missing $1"; }

# 1. cmake --install into a DESTDIR, with a prefix of our own: the menu entry must follow it.
prefix=/opt/langxing-test
DESTDIR="$scratch/root" cmake --install "$build_dir" --prefix "$prefix" >/dev/null
root="$scratch/root$prefix"
expect_file "$root/bin/langxing-cli"
expect_file "$root/share/langxing/chan.dll"
cmp -s "$root/share/langxing/chan.dll" "$build_dir/chan.dll" || fail "installed chan.dll differs from the build's"
"$root/bin/langxing-cli" catalog "$root/share/langxing" | head -1 | grep -qx '朗星快报' \
  || fail "the installed langxing-cli cannot read the installed catalog"

if [ "$with_window" = 1 ]; then
  expect_file "$root/bin/langxing"
  for size in 16 24 32 48 256; do
    expect_file "$root/share/icons/hicolor/${size}x${size}/apps/langxing.png"
  done
  expect_file "$root/share/icons/hicolor/scalable/apps/langxing.svg"
  desktop="$root/share/applications/langxing.desktop"
  expect_file "$desktop"
  if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
    for line in 'Name=朗星快报' 'Exec=langxing' 'Icon=langxing' 'Categories=Network;News;' \
                "Path=$prefix/share/langxing"; do
      grep -qxF "$line" "$desktop" || fail "$desktop lacks the line $line"
    done
  fi
fi

# 2. The Debian package: build, inspect, unpack, run.
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/package" >/dev/null
deb=$(ls "$scratch"/package/*.deb 2>/dev/null | head -1)
if [ -z "$deb" ]; then
  fail "cpack made no .deb"
else
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for lib in libcurl libgumbo libc6; do
    grep -q "$lib" <<<"$depends" || fail "the package does not depend on $lib"
  done
  if [ "$with_window" = 1 ]; then
    grep -q libqt6webenginewidgets6 <<<"$depends" || fail "the package does not depend on QtWebEngine"
  fi
  unpacked="$scratch/unpacked"
  dpkg -x "$deb" "$unpacked"
  version=$("$unpacked/usr/bin/langxing-cli" --version) || fail "the unpacked langxing-cli --version failed"
  [ "$version" = "langxing-cli 1.2" ] || fail "the unpacked langxing-cli reports version '$version'"
  expect_file "$unpacked/usr/share/langxing/chan.dll"

  if [ "$with_window" = 1 ]; then
    grep -qxF 'Path=/usr/share/langxing' "$unpacked/usr/share/applications/langxing.desktop" \
      || fail "the packaged menu entry does not start the window in /usr/share/langxing"
    # The window stays up in its data folder, as the menu entry starts it.
    (cd "$unpacked/usr/share/langxing" &&
       QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 exec "$unpacked/usr/bin/langxing") \
      >"$scratch/window.log" 2>&1 &
    window_pid=$!
    sleep 2
    if kill -0 "$window_pid" 2>/dev/null; then
      kill "$window_pid"
      wait "$window_pid" 2>/dev/null || true
    else
      wait "$window_pid" && status=0 || status=$?
      fail "the unpacked langxing ended within two seconds (status $status)"
      sed 's/^/  window: /' "$scratch/window.log" >&2
    fi
    window_pid=""
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install and package checks passed"
