#!/usr/bin/env bash
# Load figures of vokabron-server on loopback, beside nginx serving a static
# file of the same size as the board reply, in the same run.
#
#   bench/server_load.sh [seconds per run, default 10]
#   ARGON2_CONCURRENCY=1 bench/server_load.sh   (password checks at once;
#                                                default: one per processor)
#   BOARD_CACHE_MS=0 bench/server_load.sh       (every board read from the
#                                                database; default 1000)
#
# Needs wrk and nginx (scripts/install-deps --bench) and a built server
# (cmake --build build --target vokabron-server).  Everything listens on
# 127.0.0.1 only; each run is bounded by time and connections, and both
# servers are stopped at the end.  Printed per run: requests per second,
# p50 and p99 latency, errors (socket errors and non-2xx replies).
set -euo pipefail
cd "$(dirname "$0")/.."

duration=${1:-10}
server_bin=build/server/vokabron-server
[ -x "$server_bin" ] || { echo "build the server first: cmake --build build --target vokabron-server" >&2; exit 1; }
command -v wrk > /dev/null || { echo "wrk is missing: scripts/install-deps --bench" >&2; exit 1; }
nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)
[ -x "$nginx_bin" ] || { echo "nginx is missing: scripts/install-deps --bench" >&2; exit 1; }

work=$(mktemp -d)
chmod 755 "$work"   # nginx's workers run as another user
server_pid=""
nginx_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# --- the club server, with production password hashing and the per-address
# limits lifted (every request here comes from one address).
mkfifo "$work/port"
"$server_bin" --port 0 --host 127.0.0.1 --data-dir "$work/data" \
  --set password_checks_per_min=1000000 --set login_failures=1000000 --set nick_failures=1000000 \
  --set connections_per_address=1000000 \
  --set board_interval_s=0 --set registrations_per_hour=100000 \
  --set argon2_concurrency="${ARGON2_CONCURRENCY:-0}" --set board_cache_ms="${BOARD_CACHE_MS:-1000}" \
  > "$work/port" 2> "$work/server.log" &
server_pid=$!
read -r line < "$work/port"
port=${line#port=}
base="http://127.0.0.1:$port"

post() {  # path body -> reply body
  local path=$1 body=$2
  exec 3<>"/dev/tcp/127.0.0.1/$port"
  printf 'POST %s HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: %d\r\n\r\n%s' \
    "$path" "${#body}" "$body" >&3
  sed '1,/^\r$/d' <&3
  exec 3<&-
}

# Ten rows on the board, one member to log in.
for i in $(seq 0 9); do
  post /wtt "gid=50&nick=Bench$i&city=Moscow&country=1-001&score=$((990 - i))&R7=M&R8=4.3&R9=#&R10=#*" > /dev/null
done
post /club/account "nick=Bencher&pw=secret12&city=Tula&country1=Russia&country2=1-001&sex=M&email=b@example.org&dater=10.12.2024&R01=xxx&R02=xxx&R03=xxx&R04=0&R05=0&R06=0" > /dev/null
board=$(post /wtt "gid=50")
board_size=$(printf '%s' "$board" | wc -c)

# --- nginx with a static file of the board reply's size.
mkdir -p "$work/www"
head -c "$board_size" /dev/zero | tr '\0' 'x' > "$work/www/board.txt"
nginx_port=$(( (port % 20000) + 30000 ))
while (exec 3<>"/dev/tcp/127.0.0.1/$nginx_port") 2>/dev/null; do nginx_port=$((nginx_port + 1)); done
cat > "$work/nginx.conf" <<CONF
daemon off;
worker_processes auto;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 1024; }
http {
  access_log off;
  client_body_temp_path $work/tmp;
  proxy_temp_path $work/tmp;
  fastcgi_temp_path $work/tmp;
  uwsgi_temp_path $work/tmp;
  scgi_temp_path $work/tmp;
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/www;
    location / { add_header Cache-Control no-store; }
  }
}
CONF
mkdir -p "$work/tmp"
"$nginx_bin" -c "$work/nginx.conf" -p "$work" 2> "$work/nginx-start.log" &
nginx_pid=$!
for _ in $(seq 1 50); do (exec 3<>"/dev/tcp/127.0.0.1/$nginx_port") 2>/dev/null && break; sleep 0.1; done

# --- wrk scripts: one summary line per run.
cat > "$work/report.lua" <<'LUA'
done = function(summary, latency, requests)
  local errors = summary.errors.connect + summary.errors.read + summary.errors.write
               + summary.errors.status + summary.errors.timeout
  io.write(string.format("RESULT %.1f %.2f %.2f %d %d\n",
    summary.requests / (summary.duration / 1e6),
    latency:percentile(50) / 1000, latency:percentile(99) / 1000, errors, summary.requests))
end
LUA
post_script() {  # name body [pace_ms]
  {
    echo "wrk.method = \"POST\""
    echo "wrk.body = \"$2\""
    echo "wrk.headers[\"Content-Type\"] = \"application/x-www-form-urlencoded\""
    [ -n "${3:-}" ] && echo "function delay() return $3 end"
    cat "$work/report.lua"
  } > "$work/$1.lua"
}
post_script board "gid=50"
post_script board_paced "gid=50" 10
post_script login "nick=Bencher&pw=secret12&label0=0"
cat "$work/report.lua" > "$work/get.lua"
{ echo "function delay() return 10 end"; cat "$work/report.lua"; } > "$work/get_paced.lua"

results=()
run() {  # label connections script url
  local out
  out=$(wrk -t2 -c"$2" -d"${duration}s" --timeout 10s -s "$work/$3.lua" "$4" 2>&1 | grep '^RESULT' || echo "RESULT 0 0 0 -1 0")
  results+=("$1|$out")
}

echo "board reply: $board_size bytes; ${duration}s per run; server $base, nginx http://127.0.0.1:$nginx_port" >&2
run "nginx static file (board size)" 16 get "http://127.0.0.1:$nginx_port/board.txt"
run "board read (POST /wtt gid=50)" 16 board "$base/wtt"
run "configuration read (GET /config.txt)" 16 get "$base/config.txt"
run "board read paced at 1000/s" 10 board_paced "$base/wtt"
# Logins: as many at once as the hashing runs, so none waits past wrk's limit.
run "login (Argon2id interactive)" 2 login "$base/club/account"
# Reads while logins keep the password hashing busy.
wrk -t1 -c2 -d"${duration}s" --timeout 10s -s "$work/login.lua" "$base/club/account" > "$work/login-bg.txt" 2>&1 &
bg=$!
run "board read paced at 1000/s during logins" 10 board_paced "$base/wtt"
wait "$bg" || true
results+=("logins running beside it|$(grep '^RESULT' "$work/login-bg.txt" || echo "RESULT 0 0 0 -1 0")")

printf '\n%-44s %10s %9s %9s %7s\n' "run" "req/s" "p50 ms" "p99 ms" "errors"
nginx_rps=0
board_rps=0
for r in "${results[@]}"; do
  label=${r%%|*}
  read -r _ rps p50 p99 errors total <<< "${r#*|}"
  printf '%-44s %10s %9s %9s %7s\n' "$label" "$rps" "$p50" "$p99" "$errors"
  case "$label" in
    "nginx static file"*) nginx_rps=$rps ;;
    "board read (POST"*) board_rps=$rps ;;
  esac
done
if [ "$nginx_rps" != 0 ]; then
  awk -v b="$board_rps" -v n="$nginx_rps" 'BEGIN { printf "\nboard read / nginx static: %.0f%%\n", 100 * b / n }'
fi
