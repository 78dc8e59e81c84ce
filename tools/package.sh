# Sourced by ./lrf.sh once the build is done (ROOT and BUILD are set).
#   package_build  makes the Debian package in build/ with CPack and checks it with lintian
#   package_test   checks the package's files, runs the unpacked lrf-export through its /usr/bin link
#                  against the build tree's, starts lrf-tce through its link, and, as root, installs,
#                  runs and purges the package

package_file() {
  local version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
  echo "$BUILD/lrf-tce_${version}_$(dpkg --print-architecture).deb"
}

package_build() {
  local deb
  deb=$(package_file)
  rm -f "$deb"
  if ! (cd "$BUILD" && cpack -G DEB) >"$BUILD/cpack.log" 2>&1; then
    cat "$BUILD/cpack.log" >&2
    return 1
  fi
  echo "Package: $deb"
  # Lintian warns about running as root; a package check needs no privileges. The copy lies where
  # that user can read it, whatever the mode of the folders above the build.
  if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
    local copy status=0
    copy=$(mktemp -d)
    chmod 755 "$copy"
    cp "$deb" "$copy/"
    chmod 644 "$copy/${deb##*/}"
    setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$copy" \
      lintian --fail-on error --tag-display-limit 0 "$copy/${deb##*/}" || status=$?
    rm -rf "$copy"
    return "$status"
  fi
  lintian --fail-on error --tag-display-limit 0 "$deb"
}

package_test() (
  set -euo pipefail
  local deb scratch unpacked lib sample status
  deb=$(package_file)
  package_build
  scratch=$BUILD/package-test
  unpacked=$scratch/root
  lib=$unpacked/usr/lib/lrf-tce
  sample=$scratch/sample
  rm -rf "$unpacked" "$scratch"/out-*
  mkdir -p "$unpacked"
  dpkg-deb -x "$deb" "$unpacked"
  fail() { echo "package test: $*" >&2; exit 1; }

  # Layout.
  [ "$(readlink "$unpacked/usr/bin/lrf-tce")" = ../lib/lrf-tce/lrf-tce ] || fail "/usr/bin/lrf-tce link"
  [ "$(readlink "$unpacked/usr/bin/lrf-export")" = ../lib/lrf-tce/lrf-export ] || fail "/usr/bin/lrf-export link"
  [ "$(readlink "$lib/Korv.ini")" = /etc/lrf-tce/Korv.ini ] || fail "Korv.ini link"
  [ -f "$lib/dbexpida.dll" ] || fail "no dbexpida.dll"
  [ -z "$(find "$unpacked" -iname '*sample*')" ] || fail "the sample tool is in the package"
  [ "$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles)" = /etc/lrf-tce/Korv.ini ] ||
    fail "Korv.ini is not a conffile"
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  for needed in libqt6core6 libfbclient2 firebird3.0-server-core; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
  done
  # Every line of the shipped settings is a comment, blank or the section: no key is read.
  if grep -Evn '^[[:blank:]]*(;.*)?$|^\[KORV\]$' "$unpacked/etc/lrf-tce/Korv.ini"; then
    fail "a key of /etc/lrf-tce/Korv.ini is not commented"
  fi
  desktop-file-validate "$unpacked/usr/share/applications/lrf-tce.desktop"
  file "$unpacked/usr/share/icons/hicolor/48x48/apps/lrf-tce.png" | grep -q '48 x 48' || fail "icon size"
  local page warnings
  for page in "$unpacked"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  done
  [ -f "$unpacked/usr/share/man/man1/lrf-export.1.gz" ] && [ -f "$unpacked/usr/share/man/man1/lrf-tce.1.gz" ] ||
    fail "a manual page is missing"
  package_completion_test "$unpacked/usr/share/bash-completion/completions/lrf-export"

  # The unpacked program reads the settings beside its resolved path: first the shipped file, which
  # names no database, then one that names the sample.
  ln -sfn "$unpacked/etc/lrf-tce/Korv.ini" "$lib/Korv.ini"
  status=0
  "$unpacked/usr/bin/lrf-export" --bimestre 2 --saida "$scratch/out-none/" >/dev/null 2>"$scratch/none.err" ||
    status=$?
  [ "$status" -eq 3 ] && grep -q 'Base de Dados do sistema não encontrada' "$scratch/none.err" ||
    fail "the shipped settings should name no database (exit $status: $(cat "$scratch/none.err"))"

  [ -f "$sample/Korv.ini" ] || "$BUILD/bin/korv-sample" --dir "$sample" --ano 2024 >/dev/null
  cp "$sample/Korv.ini" "$unpacked/etc/lrf-tce/Korv.ini"
  "$BUILD/bin/lrf-export" --ini "$sample/Korv.ini" --bimestre 2 --saida "$scratch/out-build/" \
    >"$scratch/build.log"
  "$unpacked/usr/bin/lrf-export" --bimestre 2 --saida "$scratch/out-unpacked/" >"$scratch/unpacked.log"
  package_same_files "$scratch/out-build" "$scratch/out-unpacked"
  cmp "$scratch/build.log" "$scratch/unpacked.log" || fail "the logs differ"
  package_window_test "$unpacked/usr/bin/lrf-tce" "$(realpath "$lib")/dbexpida.dll" ||
    fail "lrf-tce started through /usr/bin did not load its driver"

  # A package this machine already has, even only its settings, is the user's: never purge it.
  local known
  known=$(dpkg-query -W -f='${Status}' lrf-tce 2>/dev/null || true)
  if [ "$(id -u)" -ne 0 ]; then
    echo "package test: not root, dpkg -i skipped"
  elif [ -n "$known" ] && [[ $known != *not-installed ]]; then
    echo "package test: lrf-tce is on this machine ($known), dpkg -i skipped"
  else
    package_install_test "$deb" "$sample/Korv.ini" "$scratch"
  fi
  echo "package test: passed"
)

# The window has no exit to wait for: it passed its start-up once the driver beside its resolved path
# is loaded (the database is opened with it).
package_window_test() {
  local link=$1 driver=$2 pid loaded=1
  QT_QPA_PLATFORM=offscreen "$link" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 150); do
    if grep -qF "$driver" "/proc/$pid/maps" 2>/dev/null; then
      loaded=0
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  # The Firebird engine in the process catches SIGTERM for its own shutdown; the window goes on.
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  return "$loaded"
}

# Ten files, byte for byte.
package_same_files() {
  local count
  count=$(find "$1" -maxdepth 1 -name '*.TXT' | wc -l)
  [ "$count" -eq 10 ] || { echo "package test: $count files in $1, not 10" >&2; return 1; }
  diff -r "$1" "$2" >&2 || { echo "package test: $2 differs from $1" >&2; return 1; }
}

package_install_test() (
  local deb=$1 settings=$2 scratch=$3
  # Never leave the package on the machine, whatever fails or stops the test.
  trap 'dpkg --purge lrf-tce >/dev/null 2>&1 || true' EXIT
  trap 'exit 130' INT TERM HUP
  dpkg -i "$deb" >/dev/null
  cp "$settings" /etc/lrf-tce/Korv.ini
  (cd / && lrf-export --bimestre 2 --saida "$scratch/out-installed/" >/dev/null)
  [ "$(command -v lrf-export)" = /usr/bin/lrf-export ]
  package_same_files "$scratch/out-build" "$scratch/out-installed"
  dpkg --purge lrf-tce >/dev/null
  if [ -e /etc/lrf-tce ] || [ -e /usr/lib/lrf-tce ] || [ -e /usr/bin/lrf-export ]; then
    echo "package test: files left after purge" >&2
    return 1
  fi
)

# The completion's answers, as bash would ask for them.
package_completion_test() (
  set +eu
  source /usr/share/bash-completion/bash_completion
  source "$1"
  compopt() { :; } # only valid while bash itself completes
  answers() {
    COMP_WORDS=(lrf-export "$@")
    COMP_CWORD=$#
    COMP_LINE="lrf-export $*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _lrf_export lrf-export "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
    echo "${COMPREPLY[*]}"
  }
  local got
  check() {
    local expected=$1
    shift
    got=$(answers "$@")
    [ "$got" = "$expected" ] || { echo "package test: completion of '$*': '$got', not '$expected'" >&2; exit 1; }
  }
  check '--bimestre' --bim
  check '1 2 3 4 5 6' --bimestre ''
  check 'DED_ORCD DED_RZDA DES_ORCD DES_RZDA DFS_ORCD DFS_RZDA DSO_ORCD DSA_ORCD REC_ORCD REC_RZDA todos' \
    --arquivos ''
  check 'REC_ORCD REC_RZDA' --arquivos rec
  check 'REC_ORCD,DSO_ORCD REC_ORCD,DSA_ORCD' --arquivos REC_ORCD,ds
  check 'todos' --arquivos to
  check '--bimestre --entidades --arquivos --saida --ini --help' ''
)
