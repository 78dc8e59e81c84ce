#!/usr/bin/env bash
# Sets up, builds and runs lrf-tce on a Debian 12 machine.
#   ./lrf.sh demo        build, create the sample installation in sample/ and export from it
#   ./lrf.sh test        check formatting, build with warnings as errors and run every test (starts a
#                        Firebird server), again under ASan+UBSan, the Windows build's under Wine, the
#                        package's, and fuzz each input reader
#   ./lrf.sh build       only install what is missing and build
#   ./lrf.sh screenshot  save a picture of the main window under Xvfb (docs/main-window.png)
#   ./lrf.sh bench       time an export of a large sample installation against isql
#   ./lrf.sh package     build the Debian package build/lrf-tce_<version>_amd64.deb and check it with lintian
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
BUILD=$ROOT/build
SANITIZE_BUILD=$ROOT/build-sanitize
PACKAGES=(cmake g++ make pkg-config libgtest-dev qt6-base-dev libfbclient2 firebird-dev
          firebird3.0-server-core firebird3.0-server firebird3.0-utils xvfb xauth imagemagick time
          dpkg-dev file lintian desktop-file-utils man-db bash-completion fonts-liberation openbox x11-utils
          clang clang-format libclang-rt-14-dev)
FUZZ_SECONDS=20

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
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$BUILD" -j"$(nproc)"
}

# Every C++ file as the committed .clang-format writes it.
check_format() {
  local files
  if git -C "$ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git -C "$ROOT" ls-files --cached --others --exclude-standard '*.cpp' '*.h')
  else
    files=$(cd "$ROOT" && find settings database export app cli tools tests bench -name '*.cpp' -o -name '*.h')
  fi
  (cd "$ROOT" && echo "$files" | xargs clang-format --dry-run --Werror) ||
    { echo "Formatting differs from .clang-format: run clang-format -i on the files above." >&2; exit 1; }
}

# The sanitizer environment: the Firebird client's own leaks are suppressed by name, every other leak
# and any undefined behaviour fails the test.
sanitizer_environment() {
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0
  export LSAN_OPTIONS=suppressions=$ROOT/tests/sanitizer/leaks.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
}

# The tests again under ASan+UBSan; with clang the same build also holds the fuzz targets.
sanitizer_tests() {
  local options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DLRF_SANITIZE=ON)
  if command -v clang++ >/dev/null; then
    options+=(-DCMAKE_CXX_COMPILER=clang++ -DLRF_FUZZ=ON)
  fi
  cmake -S "$ROOT" -B "$SANITIZE_BUILD" "${options[@]}" >/dev/null
  cmake --build "$SANITIZE_BUILD" -j"$(nproc)"
  (sanitizer_environment && cd "$SANITIZE_BUILD" && ctest --output-on-failure -j2)
}

# Each fuzz target for FUZZ_SECONDS from its committed seeds; new inputs go to the build folder.
fuzz_runs() {
  local target name work
  for target in "$SANITIZE_BUILD"/bin/fuzz_*; do
    [ -x "$target" ] || continue
    name=${target##*/fuzz_}
    work=$SANITIZE_BUILD/fuzz/$name
    mkdir -p "$work/corpus"
    echo "Fuzzing $name for ${FUZZ_SECONDS}s"
    if ! (sanitizer_environment && "$target" -max_total_time="$FUZZ_SECONDS" -artifact_prefix="$work/" \
          "$work/corpus" "$ROOT/tests/fuzz/corpus/$name" >"$work/log" 2>&1); then
      tail -n 40 "$work/log" >&2
      echo "fuzz_$name failed; the input is in $work/" >&2
      return 1
    fi
  done
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
    install_missing
    check_format
    build -DLRF_WARNINGS_AS_ERRORS=ON
    source "$ROOT/tools/firebird-server.sh"
    firebird_server_start
    trap firebird_server_stop EXIT
    export LRF_TEST_SERVER_HOST=127.0.0.1
    (cd "$BUILD" && ctest --output-on-failure -j2)
    sanitizer_tests
    windows_tests
    source "$ROOT/tools/package.sh"
    package_test
    fuzz_runs
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
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
    exit 64 ;;
esac
