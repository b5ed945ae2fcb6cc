#!/usr/bin/env bash
# Runs a command with a PostgreSQL server of its own, then stops the server.
#
#   scripts/with-postgres.sh COMMAND [ARGS...]
#
# The server lives in a scratch data directory, listens on 127.0.0.1 only,
# on a free port, and trusts local connections of the role "scriptrun".
# The command sees ODBCINI pointing at an odbc.ini with the data source
# "scriptrun_pg" (driver "PostgreSQL ANSI", database "scriptrun"), so
# scripts connect with "DSN=scriptrun_pg"; "scriptrun_pg_unicode" is the
# same database through the driver's wide-character build, for pyodbc. The server runs as the
# user "postgres" when this script runs as root (PostgreSQL refuses root).
#
# When no server can be started the command still runs, without ODBCINI,
# and the PostgreSQL tests skip themselves with a message. The exit status
# is the command's.
set -u

log() { echo "with-postgres: $*" >&2; }

run_command() {
  "$@"
}

pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
if [ -z "$pg_bin" ] || [ ! -x "$pg_bin/initdb" ]; then
  log "no PostgreSQL server installed; PostgreSQL tests will be skipped"
  run_command "$@"
  exit $?
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/scriptrun-pg.XXXXXX")
chmod 755 "$scratch"
as_server=()
if [ "$(id -u)" = 0 ]; then
  if id postgres > /dev/null 2>&1; then
    chown postgres "$scratch"
    as_server=(runuser -u postgres --)
  else
    log "running as root without a postgres user; PostgreSQL tests will be skipped"
    rm -rf "$scratch"
    run_command "$@"
    exit $?
  fi
fi

# A port nobody listens on right now.
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])' 2>/dev/null)
[ -n "$port" ] || port=$(( 20000 + RANDOM % 20000 ))

data="$scratch/data"
started=0
stop_server() {
  if [ $started = 1 ]; then
    "${as_server[@]}" "$pg_bin/pg_ctl" -D "$data" -m fast -w stop > /dev/null 2>&1 || log "could not stop the server"
  fi
  rm -rf "$scratch"
}
trap stop_server EXIT
trap 'exit 130' INT TERM

if "${as_server[@]}" "$pg_bin/initdb" -D "$data" -U scriptrun --auth=trust -E UTF8 --locale=C.UTF-8 \
     > "$scratch/initdb.log" 2>&1 &&
   "${as_server[@]}" "$pg_bin/pg_ctl" -D "$data" -l "$scratch/server.log" -w -t 30 \
     -o "-c listen_addresses=127.0.0.1 -p $port -k $scratch -c fsync=off" start > /dev/null 2>&1; then
  started=1
  "${as_server[@]}" "$pg_bin/createdb" -h 127.0.0.1 -p "$port" -U scriptrun scriptrun > /dev/null 2>&1 ||
    log "could not create the database scriptrun"
  cat > "$scratch/odbc.ini" <<INI
[scriptrun_pg]
Driver = PostgreSQL ANSI
Servername = 127.0.0.1
Port = $port
Database = scriptrun
Username = scriptrun
BoolsAsChar = 0

[scriptrun_pg_unicode]
Driver = PostgreSQL Unicode
Servername = 127.0.0.1
Port = $port
Database = scriptrun
Username = scriptrun
BoolsAsChar = 0
INI
  chmod 644 "$scratch/odbc.ini"
  export ODBCINI="$scratch/odbc.ini"
  # The PostgreSQL driver leaks the error record of every failed statement
  # (a plain C client shows it too); leak checks of our program under the
  # sanitizers must not fail on that, and nothing else is suppressed.
  printf 'leak:psqlodbca.so\nleak:psqlodbcw.so\n' > "$scratch/lsan.supp"
  export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$scratch/lsan.supp"
  log "PostgreSQL on 127.0.0.1:$port (DSN scriptrun_pg)"
else
  log "the server did not start; PostgreSQL tests will be skipped"
  cat "$scratch/initdb.log" "$scratch/server.log" 2>/dev/null | tail -5 >&2
fi

run_command "$@"
