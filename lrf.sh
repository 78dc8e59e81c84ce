#!/usr/bin/env bash
# Sets up, builds and runs lrf-tce on a Debian 12 machine.
#   ./lrf.sh demo        build, create the sample installation in sample/ and export from it
#   ./lrf.sh test        build and run every test, the Windows build's under Wine (starts a Firebird server)
#   ./lrf.sh build       only install what is missing and build
#   ./lrf.sh screenshot  save a picture of the main window under Xvfb (docs/main-window.png)
#   ./lrf.sh bench       time an export of a large sample installation against isql
#   ./lrf.sh package     build the Debian package build/lrf-tce_<version>_amd64.deb and check it with lintian
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
BUILD=$ROOT/build
PACKAGES=(cmake g++ make pkg-config libgtest-dev qt6-base-dev libfbclient2 firebird-dev
          firebird3.0-server-core firebird3.0-server firebird3.0-utils xvfb xauth imagemagick time
          dpkg-dev file lintian desktop-file-utils man-db bash-completion fonts-liberation openbox x11-utils)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
}

build() {
  install_missing
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD" -j"$(nproc)"
}

# The sample installation: the executables' folder gets the Korv.ini that points at it.
make_sample() {
  local dir=$ROOT/sample
  if [ ! -f "$dir/Korv.ini" ]; then
    rm -rf "$dir"
    "$BUILD/bin/korv-sample" --dir "$dir" --ano 2024
  fi
  cp "$dir/Korv.ini" "$BUILD/bin/Korv.ini"
}

cmd=${1:-}
case "$cmd" in
  build)
    build ;;
  demo)
    build
    make_sample
    source "$ROOT/tools/demo.sh"
    ;;
  test)
    source "$ROOT/tools/windows-tests.sh"
    PACKAGES+=("${WINDOWS_PACKAGES[@]}")
    build
    source "$ROOT/tools/firebird-server.sh"
    firebird_server_start
    trap firebird_server_stop EXIT
    export LRF_TEST_SERVER_HOST=127.0.0.1
    (cd "$BUILD" && ctest --output-on-failure -j2)
    windows_tests
    source "$ROOT/tools/package.sh"
    package_test
    ;;
  bench)
    build
    source "$ROOT/bench/run.sh"
    ;;
  package)
    build
    source "$ROOT/tools/package.sh"
    package_build
    ;;
  screenshot)
    build
    make_sample
    source "$ROOT/tools/screenshot.sh"
    ;;
  *)
    sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
    exit 64 ;;
esac
