# Sourced by ./lrf.sh screenshot once the build is done and the sample installation's Korv.ini lies beside
# the executables (ROOT and BUILD are set): shows the main window on a virtual screen and saves its
# picture in docs/main-window.png.
shot_file="$ROOT/docs/main-window.png"
shot_fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$shot_fd_file" >/dev/null 2>&1 &
shot_xvfb=$!
shot_window=""
shot_program=""

shot_stop() {
  if [ -n "$shot_program" ]; then
    # TERM closes the window as "&Fechar" does; KILL only should it still be there after a while.
    kill "$shot_program" 2>/dev/null || true
    for _ in $(seq 20); do kill -0 "$shot_program" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$shot_program" 2>/dev/null && kill -9 "$shot_program" 2>/dev/null || true
  fi
  kill "$shot_xvfb" 2>/dev/null || true
  rm -f "$shot_fd_file"
}

for _ in $(seq 50); do [ -s "$shot_fd_file" ] && break; sleep 0.1; done
if [ ! -s "$shot_fd_file" ]; then
  echo "Xvfb did not start" >&2
  shot_stop
  return 1
fi
export DISPLAY=":$(head -n1 "$shot_fd_file")"

"$BUILD/bin/lrf-tce" >/dev/null 2>&1 &
shot_program=$!
# The version title is set once the entity list is filled: then the window is complete.
for _ in $(seq 100); do
  shot_window=$(xwininfo -root -tree 2>/dev/null | awk '/"LRF TCE\/MT - Vers/ {print $1; exit}')
  [ -n "$shot_window" ] && break
  kill -0 "$shot_program" 2>/dev/null || break
  sleep 0.2
done
if [ -z "$shot_window" ]; then
  echo "The main window did not appear (see a start-up message?)" >&2
  shot_stop
  return 1
fi
sleep 1
mkdir -p "$(dirname "$shot_file")"
import -window "$shot_window" "$shot_file"
shot_stop
echo "Saved $shot_file"
