# Sourced by lrf.sh: the Windows build of the layers that need no Qt (settings/, database/ with the
# driver module dbexpida.dll) and their tests, cross-built with mingw-w64 and run under Wine.
# Everything, Wine's prefix included, stays in build-windows/.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 wine)

# In a subshell of its own: Wine's variables stay out of the caller.
windows_tests() (
  set -euo pipefail
  start=$SECONDS
  build=$ROOT/build-windows
  cmake -S "$ROOT" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLRF_WITH_QT=OFF -DLRF_WITH_FIREBIRD_CLIENT=OFF \
        -DLRF_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
  cmake --build "$build" -j"$(nproc)"

  export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  if [ ! -d "$WINEPREFIX/dosdevices" ]; then
    echo "Creating Wine's prefix in $WINEPREFIX"
    wine wineboot --init >"$build/wineboot.log" 2>&1
  fi
  # K: stands for a server installation's folder mapped on this machine: a scratch folder of the
  # build. C: is the prefix's own. The tests may write on both.
  mkdir -p "$build/drive-k"
  ln -sfn "$build/drive-k" "$WINEPREFIX/dosdevices/k:"
  status=0
  (cd "$build" && LRF_TEST_DRIVES=CK ctest --output-on-failure) || status=$?
  wineserver -w
  echo "Windows build and tests under Wine: $((SECONDS - start)) s"
  exit $status
)
