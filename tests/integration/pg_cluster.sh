#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for tests and benchmarks: initdb into a
# folder, the server listening on a Unix socket in that folder only (no
# TCP), local connections trusted, superuser "vokabron".  It never touches a
# PostgreSQL already on the machine.
#
#   pg_cluster.sh start DIR [SETTING=VALUE ...]   a fresh cluster in DIR
#   pg_cluster.sh stop DIR                        stop it, keep its files
#   pg_cluster.sh resume DIR                      start it again after stop
#   pg_cluster.sh remove DIR                      stop it and delete DIR
#
# Connect with: postgresql:///postgres?host=DIR&user=vokabron
# As root the cluster runs as the postgres user: PostgreSQL refuses root.
# Needs Debian's postgresql package (scripts/install-deps); fails when it is
# missing.
set -euo pipefail
action=${1:?start, stop, resume or remove}
dir=${2:?cluster folder}
shift 2

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "PostgreSQL's server programs are missing (Debian package postgresql): run scripts/install-deps" >&2
  exit 1
fi

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

stop() {
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop > /dev/null 2>&1 || true
  fi
}

start_server() {
  as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start > /dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }
}

case "$action" in
  start)
    stop
    rm -rf "$dir"
    mkdir -p "$dir"
    chmod 700 "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres:postgres "$dir"
    as_owner "$bindir/initdb" -D "$dir/data" -U vokabron --auth=trust -E UTF8 --locale=C.UTF-8 --no-sync \
      > "$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    {
      echo "listen_addresses = ''"
      echo "unix_socket_directories = '$dir'"
      echo "max_connections = 300"
      for setting in "$@"; do
        echo "${setting%%=*} = ${setting#*=}"
      done
    } >> "$dir/data/postgresql.conf"
    start_server
    ;;
  resume) start_server ;;
  stop) stop ;;
  remove)
    stop
    rm -rf "$dir"
    ;;
  *)
    echo "unknown action $action" >&2
    exit 2
    ;;
esac
