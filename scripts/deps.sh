# SPDX-License-Identifier: GPL-3.0-or-later
# Debian packages the build, the tests and the program need; sourced by scripts/test and scripts/run.
# The program needs fonts-noto-cjk and qt6-translations-l10n at run time; the nothing-on-disk
# tests start their own GL display (xvfb, xauth) and make a test certificate (openssl); the local
# test portal makes its TLS test CA with the OpenSSL library (libssl-dev); the Wayland test runs
# the window under a headless compositor (weston, qt6-wayland).
LANGXING_PACKAGES=(
  cmake ninja-build g++ pkg-config git
  qt6-base-dev qt6-webengine-dev qt6-webengine-dev-tools qt6-svg-dev qt6-qpa-plugins libgl-dev
  libcurl4-openssl-dev libgumbo-dev libcpp-httplib-dev nlohmann-json3-dev libssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk qt6-translations-l10n dpkg-dev desktop-file-utils
  debhelper lintian appstream man-db bash-completion file
  libxcb1-dev xvfb xauth openbox openssl weston qt6-wayland
)

# Installs whatever of the list is missing (apt-get needs root; skipped when all are present).
langxing_install_packages() {
  local missing=() pkg
  for pkg in "${LANGXING_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
