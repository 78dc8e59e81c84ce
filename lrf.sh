#!/usr/bin/env bash
# Sets up, builds and runs lrf-tce on a Debian 12 machine.
#   ./lrf.sh demo        build, create the sample installation in sample/ and export from it
#   ./lrf.sh test        build and run every test (a Firebird server on 127.0.0.1 is started for them)
#   ./lrf.sh build       only install what is missing and build
#   ./lrf.sh screenshot  save a picture of the main window under Xvfb (docs/main-window.png)
#   ./lrf.sh bench       time an export of a large sample installation against isql
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
BUILD=$ROOT/build
PACKAGES=(cmake g++ make pkg-config libgtest-dev qt6-base-dev libfbclient2 firebird-dev
          firebird3.0-server-core firebird3.0-server firebird3.0-utils xvfb xauth imagemagick time
          fonts-liberation)

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
    build
    source "$ROOT/tools/firebird-server.sh"
    firebird_server_start
    trap firebird_server_stop EXIT
    export LRF_TEST_SERVER_HOST=127.0.0.1
    (cd "$BUILD" && ctest --output-on-failure -j2)
    ;;
  bench)
    build
    source "$ROOT/bench/run.sh"
    ;;
  screenshot)
    build
    make_sample
    source "$ROOT/tools/screenshot.sh"
    ;;
  *)
    sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'
    exit 64 ;;
esac
