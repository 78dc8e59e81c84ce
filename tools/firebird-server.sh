# Sourced by ./lrf.sh: a real Firebird server on localhost for the server-installation tests.
# Debian's package binds the server to localhost; it does not start itself where services are not
# allowed, so it is started by hand, as user firebird, and stopped by its process id.

FB_SERVER_PID=""

firebird_server_running() {
  (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null
}

firebird_server_start() {
  mkdir -p /tmp/firebird
  chown firebird:firebird /tmp/firebird
  chmod 0770 /tmp/firebird
  # The test user, created through the security database with the embedded engine. Run as user
  # firebird so the lock files it leaves stay usable by the server.
  runuser -u firebird -- isql-fb -q -user SYSDBA security.db >/dev/null 2>&1 <<'SQL' || true
CREATE OR ALTER USER EPMDGZG2 PASSWORD 'mavo';
COMMIT;
SQL
  if firebird_server_running; then
    echo "A Firebird server already listens on 127.0.0.1:3050; using it."
    return 0
  fi
  runuser -u firebird -- /usr/sbin/firebird >/tmp/lrf-firebird-server.log 2>&1 &
  local launcher=$!
  for _ in $(seq 1 50); do
    if firebird_server_running; then
      FB_SERVER_PID=$(pgrep -P "$launcher" -x firebird || echo "$launcher")
      echo "Firebird server started (pid $FB_SERVER_PID)."
      return 0
    fi
    sleep 0.2
  done
  echo "The Firebird server did not start; see /tmp/lrf-firebird-server.log" >&2
  return 1
}

firebird_server_stop() {
  [ -n "$FB_SERVER_PID" ] || return 0
  kill "$FB_SERVER_PID" 2>/dev/null || true
  for _ in $(seq 1 50); do
    kill -0 "$FB_SERVER_PID" 2>/dev/null || break
    sleep 0.2
  done
  kill -9 "$FB_SERVER_PID" 2>/dev/null || true
  FB_SERVER_PID=""
}
