#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch DESTDIR and checks the layout, the menu entry, the AppStream
# entry, the man pages and the bash completion; then builds the Debian packages from a clean
# copy of the tree, runs lintian on them, unpacks them and runs both programs from there.
#   install_test.sh SOURCE_DIR BUILD_DIR WITH_WINDOW(0|1) WITH_PACKAGES(0|1) VERSION
set -euo pipefail

source_dir=$1
build_dir=$2
with_window=$3
with_packages=$4
version=$5
scratch=$(mktemp -d "${TMPDIR:-/tmp}/langxing-install-XXXXXX")
# The package build has a fixed home inside the build folder, so ccache finds the objects of
# the previous run under the same paths.
package_dir="$build_dir/debian-package"
window_pid=""
cleanup() {
  if [ -n "$window_pid" ]; then kill "$window_pid" 2>/dev/null || true; wait "$window_pid" 2>/dev/null || true; fi
  rm -rf "$scratch" "$package_dir"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_file() { [ -f "$1" ] || fail "missing $1"; }
export LC_ALL=C.UTF-8  # the man pages and the channel names are UTF-8

# Man pages render without a single groff warning at a terminal's width.
check_man_page() {  # page
  local warnings
  warnings=$(MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null) || fail "man -l $1 failed"
  [ -z "$warnings" ] || fail "man -l $1 warns: $warnings"
}

# 1. cmake --install into a DESTDIR, with a prefix of our own.
prefix=/opt/langxing-test
DESTDIR="$scratch/root" cmake --install "$build_dir" --prefix "$prefix" >/dev/null
root="$scratch/root$prefix"
expect_file "$root/bin/langxing-cli"
expect_file "$root/share/langxing/chan.dll"
cmp -s "$root/share/langxing/chan.dll" "$build_dir/chan.dll" || fail "installed chan.dll differs from the build's"
catalog=$("$root/bin/langxing-cli" catalog "$root/share/langxing") || true
[ "${catalog%%$'\n'*}" = '朗星快报' ] || fail "the installed langxing-cli cannot read the installed catalog"
expect_file "$root/share/man/man1/langxing-cli.1"
check_man_page "$root/share/man/man1/langxing-cli.1"

# The completion, sourced as bash-completion sources it, completes commands and, after
# `headlines`, the channel names of the chan.dll the companion would read (GBK or UTF-8).
completion="$root/share/bash-completion/completions/langxing-cli"
expect_file "$completion"
complete_words() {  # folder to run in, XDG_DATA_HOME, words... -> the completions, one a line
  local folder=$1 data_home=$2; shift 2
  (cd "$folder" && XDG_DATA_HOME=$data_home XDG_DATA_DIRS=/nonexistent bash -c '
     source /usr/share/bash-completion/bash_completion
     source "$0"
     COMP_WORDS=("$@"); COMP_CWORD=$(( $# - 1 )); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
     _langxing_cli langxing-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
     printf "%s\n" "${COMPREPLY[@]}"' "$completion" "$@")
}
mkdir -p "$scratch/here" "$scratch/home/langxing" "$scratch/nowhere"
printf '体育新闻_国际足球--http://sports.sina.com.cn/g/\r\n体育新闻_国内足球--http://x/\r\n无类别_杂项--http://y/\r\n' \
  | iconv -f UTF-8 -t GBK >"$scratch/here/chan.dll"
printf '财经新闻_股市--http://finance.sina.com.cn/\n' >"$scratch/home/langxing/chan.dll"
while IFS='|' read -r folder words expected; do
  # shellcheck disable=SC2086  # the words are split on purpose
  got=$(complete_words "$scratch/$folder" "$scratch/home" langxing-cli $words "" | sort | paste -sd' ')
  [ "$got" = "$expected" ] || fail "completing 'langxing-cli $words' in $folder: got '$got', expected '$expected'"
done <<'EOF'
nowhere||--help --verbose --version article catalog check-update headlines inner-html inner-text
here|headlines|国内足球 国际足球
nowhere|headlines|股市
nowhere|--verbose headlines|股市
nowhere|article x|--colour --help --images --size --verbose --video
EOF

if [ "$with_window" = 1 ]; then
  expect_file "$root/bin/langxing"
  for size in 16 24 32 48 64 128 256; do
    icon="$root/share/icons/hicolor/${size}x${size}/apps/langxing.png"
    expect_file "$icon"
    if [ -f "$icon" ]; then file "$icon" | grep -q ", $size x $size," || fail "$icon is not $size px"; fi
  done
  expect_file "$root/share/icons/hicolor/scalable/apps/langxing.svg"
  expect_file "$root/share/man/man1/langxing.1"
  check_man_page "$root/share/man/man1/langxing.1"
  desktop="$root/share/applications/org.langxing.langxing.desktop"
  metainfo="$root/share/metainfo/org.langxing.langxing.metainfo.xml"
  expect_file "$desktop"
  expect_file "$metainfo"
  if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
    for line in 'Name=朗星快报' 'Exec=langxing' 'Icon=langxing' 'Categories=Network;News;'; do
      grep -qxF "$line" "$desktop" || fail "$desktop lacks the line $line"
    done
    # The window finds its channel file wherever it is started.
    ! grep -q '^Path=' "$desktop" || fail "$desktop still names a working directory"
  fi
  if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 \
      || { fail "appstreamcli rejects $metainfo"; cat "$scratch/appstream.log" >&2; }
    grep -qF '<launchable type="desktop-id">org.langxing.langxing.desktop</launchable>' "$metainfo" \
      || fail "$metainfo does not launch the menu entry"
    grep -qF "<release version=\"$version\"" "$metainfo" || fail "$metainfo has no release $version"
  fi
fi

# 2. The Debian packages, built as a packager builds them: from a clean copy of the tree, with
# the build flags, stripping and debug-symbol packages of debhelper.
if [ "$with_packages" = 1 ]; then
  rm -rf "$package_dir"
  mkdir -p "$package_dir/langxing"
  if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # The files of the tree as it is now, committed or not, but nothing the build wrote.
    (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
       tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$package_dir/langxing"
  else
    tar -C "$source_dir" --exclude-vcs --exclude='./build*' -cf - . | tar -xf - -C "$package_dir/langxing"
  fi
  if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
    # debhelper gives the build a home of its own; the cache stays where it was.
    export CCACHE_DIR="${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}"
  fi
  if ! (cd "$package_dir/langxing" && dpkg-buildpackage -us -uc -b -j"$(nproc)") >"$scratch/dpkg.log" 2>&1; then
    fail "dpkg-buildpackage failed"
    tail -n 40 "$scratch/dpkg.log" | sed 's/^/  dpkg-buildpackage: /' >&2
  fi
  window_deb="$package_dir/langxing_${version}_$(dpkg --print-architecture).deb"
  cli_deb="$package_dir/langxing-cli_${version}_$(dpkg --print-architecture).deb"
  changes="$package_dir/langxing_${version}_$(dpkg --print-architecture).changes"
  for deb in "$window_deb" "$cli_deb" "${window_deb/langxing_/langxing-dbgsym_}" \
             "${cli_deb/langxing-cli_/langxing-cli-dbgsym_}" "$changes"; do
    expect_file "$deb"
  done
fi

if [ "$with_packages" = 1 ] && [ -f "$window_deb" ] && [ -f "$cli_deb" ]; then
  # Every error and warning fails, pedantic tags included; what lintian says is printed.
  lintian --pedantic --fail-on error,warning "$changes" >"$scratch/lintian.log" 2>&1 \
    || fail "lintian reports errors or warnings"
  grep -v '^running with root' "$scratch/lintian.log" | sed 's/^/  lintian: /' || true

  relations() { dpkg-deb -f "$1" Pre-Depends Depends Recommends; }
  echo "langxing: $(relations "$window_deb" | tr '\n' ' ')"
  echo "langxing-cli: $(relations "$cli_deb" | tr '\n' ' ')"
  ! relations "$cli_deb" | grep -qiE 'qt|webengine' || fail "langxing-cli depends on Qt"
  for needed in "langxing-cli (= $version)" libqt6webenginewidgets6 libqt6webenginecore6-bin; do
    dpkg-deb -f "$window_deb" Depends | grep -qF "$needed" || fail "langxing does not depend on $needed"
  done
  dpkg-deb -f "$window_deb" Recommends | grep -q fonts-noto-cjk || fail "langxing does not recommend a CJK font"

  unpacked="$scratch/unpacked"
  dpkg -x "$window_deb" "$unpacked"
  dpkg -x "$cli_deb" "$unpacked"
  cli="$unpacked/usr/bin/langxing-cli"
  got=$("$cli" --version) || fail "the unpacked langxing-cli --version failed"
  [ "$got" = "langxing-cli $version" ] || fail "the unpacked langxing-cli --version says '$got'"
  # From any folder, the programs find the packaged channel file through XDG_DATA_DIRS.
  catalog=$(cd "$scratch/nowhere" &&
              XDG_DATA_HOME="$scratch/nowhere" XDG_DATA_DIRS="$unpacked/usr/share" "$cli" catalog) || true
  [ "${catalog%%$'\n'*}" = '朗星快报' ] || fail "the unpacked langxing-cli does not find the packaged chan.dll"
  # The window tells the desktop which menu entry it belongs to (the id is UTF-16 in it).
  for entry in "$unpacked"/usr/share/applications/*.desktop; do
    # grep reads to the end (no -q): with pipefail, strings killed by SIGPIPE at an early
    # match would fail the pipeline, and the check with it, depending on the binary's layout.
    strings -e l "$unpacked/usr/bin/langxing" | grep -xF "$(basename "$entry" .desktop)" >/dev/null \
      || fail "the window does not name its menu entry $(basename "$entry")"
  done
  check_man_page "$unpacked/usr/share/man/man1/langxing-cli.1.gz"
  check_man_page "$unpacked/usr/share/man/man1/langxing.1.gz"

  # The window stays up, started in a folder of its own (it finds its catalog as the
  # companion does).
  (cd "$scratch/nowhere" &&
     XDG_DATA_HOME="$scratch/nowhere" XDG_DATA_DIRS="$unpacked/usr/share" \
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

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install and package checks passed"
