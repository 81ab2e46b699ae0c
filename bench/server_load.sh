#!/usr/bin/env bash
# Load figures of vokabron-server on loopback in three forms, beside nginx
# serving a static file of the same size as the board reply, in one run:
#
#   sqlite    one process on its SQLite file (the default form)
#   postgres  one process on a PostgreSQL database
#   nginx3    three processes on one PostgreSQL database behind nginx with
#             the club's own site file (packaging/nginx-vokabron.conf)
#   limit     the same site with its three upstreams replaced by three nginx
#             instances (one worker each) serving the board reply's bytes as
#             a static file: the most the proxied layout can give on this
#             machine, whatever the servers behind it do
#
#   bench/server_load.sh [seconds per run, default 10]
#   FORMS="sqlite nginx3" bench/server_load.sh  (some forms only)
#   ARGON2_CONCURRENCY=1 bench/server_load.sh   (password checks at once;
#                                                default: one per processor)
#   BOARD_CACHE_MS=0 bench/server_load.sh       (every board read from the
#                                                database; default 1000)
#   BENCH_LOGS=DIR bench/server_load.sh         (keep the servers' and nginx's
#                                                logs in DIR)
#   RUNS=board bench/server_load.sh             (board reads only, e.g. under
#                                                perf record -a)
#
# Needs wrk, nginx, sqlite3 and PostgreSQL (scripts/install-deps --bench)
# and a built server (cmake --build build --target vokabron-server).  The
# PostgreSQL forms run on a throwaway cluster of the script's own (Unix
# socket, no TCP, PostgreSQL's default durability); everything listens on
# 127.0.0.1 only; each run is bounded by time and connections, and every
# process is stopped at the end.  Printed per run: requests per second, p50
# and p99 latency, errors (socket errors, non-2xx replies, and transfers not
# answered "ok"); after the transfer runs, the money invariants.
set -euo pipefail
cd "$(dirname "$0")/.."

duration=${1:-10}
forms=${FORMS:-sqlite postgres nginx3 limit}
server_bin=build/server/vokabron-server
pg_cluster=tests/integration/pg_cluster.sh
site=packaging/nginx-vokabron.conf
[ -x "$server_bin" ] || { echo "build the server first: cmake --build build --target vokabron-server" >&2; exit 1; }
for tool in wrk sqlite3 psql; do
  command -v "$tool" > /dev/null || { echo "$tool is missing: scripts/install-deps --bench" >&2; exit 1; }
done
nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)
[ -x "$nginx_bin" ] || { echo "nginx is missing: scripts/install-deps" >&2; exit 1; }

work=$(mktemp -d)
chmod 755 "$work"   # nginx's workers may run as another user
pids=()
nginx_pids=()
cleanup() {
  if [ -n "${BENCH_LOGS:-}" ]; then
    mkdir -p "$BENCH_LOGS"
    cp "$work"/server.log "$BENCH_LOGS"/ 2> /dev/null || true
    for name in three static limit; do cp "$work/$name/error.log" "$BENCH_LOGS/nginx-$name.log" 2> /dev/null || true; done
  fi
  for pid in "${nginx_pids[@]}" "${pids[@]}"; do
    kill "$pid" 2> /dev/null && wait "$pid" 2> /dev/null || true
  done
  "$pg_cluster" remove "$work/pg" 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

payers=16

# --- a server process: data folder, extra options; sets $port.  Production
# password hashing; the per-address limits lifted (every request here comes
# from one address); every new member rich enough for every transfer.
start_server() {
  local data=$1
  shift
  rm -f "$work/port"
  mkfifo "$work/port"
  "$server_bin" --port 0 --host 127.0.0.1 --data-dir "$data" \
    --set password_checks_per_min=1000000 --set login_failures=1000000 --set nick_failures=1000000 \
    --set connections_per_address=100000 \
    --set board_interval_s=0 --set registrations_per_hour=100000 \
    --set initial_balance=1000000000 \
    --set argon2_concurrency="${ARGON2_CONCURRENCY:-0}" --set board_cache_ms="${BOARD_CACHE_MS:-1000}" \
    "$@" > "$work/port" 2>> "$work/server.log" &
  pids+=($!)
  local line
  if ! read -r line < "$work/port"; then
    echo "a server did not start:" >&2
    tail -n 3 "$work/server.log" >&2
    exit 1
  fi
  port=${line#port=}
}

exchange() {  # port path body -> the whole reply
  local p=$1 path=$2 body=$3
  exec 3<> "/dev/tcp/127.0.0.1/$p"
  printf 'POST %s HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: %d\r\n\r\n%s' \
    "$path" "${#body}" "$body" >&3
  cat <&3
  exec 3<&-
}
post() { exchange "$@" | sed '1,/^\r$/d'; }

register() {  # port nick
  post "$1" /club/account "nick=$2&pw=secret12&city=Tula&country1=Russia&country2=1-001&sex=M&email=b@example.org&dater=10.12.2024&R01=xxx&R02=xxx&R03=xxx&R04=0&R05=0&R06=0" > /dev/null
}

# Ten rows on the board, the member who logs in, the paying members and
# their sessions (cookies.lua); sets $board_size.
seed() {
  local p=$1
  for i in $(seq 0 9); do
    post "$p" /wtt "gid=50&nick=Bench$i&city=Moscow&country=1-001&score=$((990 - i))&R7=M&R8=4.3&R9=#&R10=#*" > /dev/null
  done
  register "$p" Bencher
  echo "cookies = {" > "$work/cookies.lua"
  for i in $(seq 0 $((payers - 1))); do
    register "$p" "Payer$i"
    local cookie
    cookie=$(exchange "$p" /club/account "nick=Payer$i&pw=secret12&label0=0" | tr -d '\r' |
             sed -n 's/^Set-Cookie: vks=\([^;]*\);.*/\1/p')
    echo "  \"$cookie\"," >> "$work/cookies.lua"
  done
  echo "}" >> "$work/cookies.lua"
  post "$p" /wtt "gid=50" > "$work/board.bin"
  board_size=$(wc -c < "$work/board.bin")
}

# --- wrk scripts: one summary line per run; a thread's "bad" counts the
# member requests refused.
cat > "$work/report.lua" <<'LUA'
local threads = {}
setup = function(thread) table.insert(threads, thread) end
done = function(summary, latency, requests)
  local errors = summary.errors.connect + summary.errors.read + summary.errors.write
               + summary.errors.status + summary.errors.timeout
  local refused = 0
  for _, thread in ipairs(threads) do refused = refused + (thread:get("bad") or 0) end
  errors = errors + refused
  -- Which kinds, when any: connect/read/write/status/timeout/refused.
  local kinds = errors == 0 and "" or string.format("%d/%d/%d/%d/%d/%d", summary.errors.connect,
    summary.errors.read, summary.errors.write, summary.errors.status, summary.errors.timeout, refused)
  io.write(string.format("RESULT %.1f %.2f %.2f %d %d %s\n",
    summary.requests / (summary.duration / 1e6),
    latency:percentile(50) / 1000, latency:percentile(99) / 1000, errors, summary.requests, kinds))
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
# Requests of the paying members: transfers of one Tev to the next member,
# or a mix of the club's commonest requests.
member_script() {  # name mix(0|1) [pace_ms]
  {
    echo "dofile(\"$work/cookies.lua\")"
    echo "local mix = $2"
    cat <<'LUA'
local n, i = #cookies, 0
bad = 0   -- read by the summary: transfers (and balance reads) answered "no"
init = function() i = math.random(0, 1000) end
local function form(body, k)
  local headers = {["Content-Type"] = "application/x-www-form-urlencoded"}
  if k then headers["Cookie"] = "vks=" .. cookies[k] end
  return wrk.format("POST", k and "/club/account" or "/wtt", headers, body)
end
request = function()
  i = i + 1
  local k = (i % n) + 1
  local kind = mix == 1 and (i % 4) or 3
  if kind == 0 then return form("gid=50") end
  if kind == 1 then return form("gid=100") end
  if kind == 2 then return form("nick=Payer" .. (k - 1) .. "&labeltevread=0", k) end
  return form("nick=Payer" .. (k % n) .. "&labeltevsave=0&R04=1", k)
end
response = function(status, headers, body)
  if body == "no" then bad = bad + 1 end
end
LUA
    [ -n "${3:-}" ] && echo "function delay() return $3 end"
    cat "$work/report.lua"
  } > "$work/$1.lua"
}
post_script board "gid=50"
post_script board_paced "gid=50" 10
post_script login "nick=Bencher&pw=secret12&label0=0"
cat "$work/report.lua" > "$work/get.lua"

results=()
run() {  # label connections script url
  local out
  out=$(wrk -t"$(( $2 < 2 ? $2 : 2 ))" -c"$2" -d"${duration}s" --timeout 10s -s "$work/$3.lua" "$4" 2>&1 | grep '^RESULT' || echo "RESULT 0 0 0 -1 0")
  results+=("$1|$out")
}
note() { results+=("$1|NOTE"); }

money_check() {  # query-command...
  local broken
  broken=$("$@" "SELECT (SELECT COUNT(*) FROM member m WHERE m.balance <> (SELECT COALESCE(SUM(delta), 0) FROM ledger l WHERE l.member_id = m.id))
               + (SELECT COUNT(*) FROM member WHERE balance < 0)
               + (SELECT CASE WHEN COALESCE(SUM(delta), 0) = 0 THEN 0 ELSE 1 END FROM ledger WHERE kind IN ('transfer_in','transfer_out'))
               + (SELECT CASE WHEN SUM(balance) = 1000000000 * COUNT(*) THEN 0 ELSE 1 END FROM member)")
  if [ "$broken" = 0 ]; then note "  money invariants after the transfers: hold"; else note "  money invariants after the transfers: BROKEN"; fi
}

# The runs of one form: board reads, logins, transfers, and the paced mix.
measure() {  # label base check-command...
  local label=$1 base=$2
  shift 2
  member_script transfer 0
  member_script mix_paced 1 18
  # Unmeasured warm-up: the processes open their database connections, and
  # nginx its connections to them.
  wrk -t2 -c16 -d2s -s "$work/mix_paced.lua" "$base/club/account" > /dev/null 2>&1 || true
  wrk -t2 -c16 -d2s -s "$work/board.lua" "$base/wtt" > /dev/null 2>&1 || true
  run "$label: board read" 16 board "$base/wtt"
  [ "${RUNS:-all}" = board ] && return
  # Logins: one at a time, as the club runs one password check per address
  # (every request here comes from one) and answers a second one at once 429.
  run "$label: login (Argon2id interactive)" 1 login "$base/club/account"
  run "$label: transfer" 16 transfer "$base/club/account"
  money_check "$@"
  # 20 connections, each waiting 18 ms after every reply: about 1000/s.
  run "$label: mix paced at 1000/s" 20 mix_paced "$base/club/account"
}

# --- nginx: the static yardstick, and the site in front of three processes.
start_nginx() {  # name site-file [workers] -> $nginx_port
  local name=$1 workers=${3:-auto} try
  # Ports below the kernel's ephemeral range, which wrk's and nginx's own
  # connections take from; a port taken meanwhile is simply tried again.
  for try in 1 2 3 4 5; do
    nginx_port=$(( (RANDOM % 20000) + 10000 ))
    while (exec 3<> "/dev/tcp/127.0.0.1/$nginx_port") 2> /dev/null; do nginx_port=$((nginx_port + 1)); done
    mkdir -p "$work/$name/tmp"
    sed "s/@PORT@/$nginx_port/" "$2" > "$work/$name/site.conf"
    cat > "$work/$name/nginx.conf" <<CONF
daemon off;
worker_processes $workers;
$( [ "$(id -u)" -eq 0 ] && echo "user root root;" )
pid $work/$name/nginx.pid;
error_log $work/$name/error.log;
events { worker_connections 4096; }
http {
  access_log off;
  client_body_temp_path $work/$name/tmp;
  proxy_temp_path $work/$name/tmp;
  fastcgi_temp_path $work/$name/tmp;
  uwsgi_temp_path $work/$name/tmp;
  scgi_temp_path $work/$name/tmp;
  include $work/$name/site.conf;
}
CONF
    "$nginx_bin" -c "$work/$name/nginx.conf" -p "$work/$name" 2> "$work/$name/start.log" &
    local pid=$!
    for _ in $(seq 1 50); do
      (exec 3<> "/dev/tcp/127.0.0.1/$nginx_port") 2> /dev/null && { nginx_pids+=("$pid"); return 0; }
      kill -0 "$pid" 2> /dev/null || break
      sleep 0.1
    done
    kill "$pid" 2> /dev/null && wait "$pid" 2> /dev/null || true
  done
  echo "nginx ($name) did not start:" >&2
  tail -n 3 "$work/$name/error.log" >&2
  exit 1
}

# The shipped site with its upstream lines naming these ports, plain HTTP
# on loopback instead of TLS.
site_for_ports() {  # "port port port" -> the site file on stdout
  awk -v ports="$1" '
    /^ *server 127\.0\.0\.1:/ { if (!done) { n = split(ports, p, " "); sub(/^ *server [^ ]+/, "", $0);
                                  for (i = 1; i <= n; i++) print "    server 127.0.0.1:" p[i] $0; done = 1 } next }
    /ssl_certificate|listen \[::\]/ { next }
    /^ *listen / { print "    listen 127.0.0.1:@PORT@;"; next }
    { print }' "$site"
}

sqlite_query() { sqlite3 "$work/sqlite/club.db" "$1"; }
pg_query() { PGOPTIONS=--client-min-messages=warning psql -qtA "postgresql:///club?host=$work/pg&user=vokabron" -c "$1"; }

need_pg=no
case " $forms " in *" postgres "*|*" nginx3 "*) need_pg=yes ;; esac
if [ "$need_pg" = yes ]; then
  "$pg_cluster" start "$work/pg" > /dev/null
  pg_db() { PGOPTIONS=--client-min-messages=warning psql -qtA "postgresql:///postgres?host=$work/pg&user=vokabron" -c "DROP DATABASE IF EXISTS club WITH (FORCE)" -c "CREATE DATABASE club"; }
fi
pg_url="postgresql:///club?host=$work/pg&user=vokabron"

board_size=0
for form in $forms; do
  case "$form" in
    sqlite)
      start_server "$work/sqlite"
      seed "$port"
      measure "SQLite, one process" "http://127.0.0.1:$port" sqlite_query
      run "SQLite, one process: configuration read (GET)" 16 get "http://127.0.0.1:$port/config.txt"
      # Reads while logins keep the password hashing busy.
      wrk -t1 -c1 -d"${duration}s" --timeout 10s -s "$work/login.lua" "http://127.0.0.1:$port/club/account" > "$work/login-bg.txt" 2>&1 &
      bg=$!
      run "SQLite, one process: board read paced at 1000/s during logins" 10 board_paced "http://127.0.0.1:$port/wtt"
      wait "$bg" || true
      results+=("  logins running beside it|$(grep '^RESULT' "$work/login-bg.txt" || echo "RESULT 0 0 0 -1 0")")
      ;;
    postgres)
      pg_db > /dev/null
      start_server "$work/pg-one" --db "$pg_url"
      seed "$port"
      measure "PostgreSQL, one process" "http://127.0.0.1:$port" pg_query
      ;;
    nginx3)
      pg_db > /dev/null
      upstreams=()
      for i in 1 2 3; do
        start_server "$work/pg-three" --db "$pg_url" --set trusted_proxies=127.0.0.1
        upstreams+=("$port")
      done
      site_for_ports "${upstreams[*]}" > "$work/site-three.conf"
      start_nginx three "$work/site-three.conf"
      seed "$nginx_port"
      measure "three processes behind nginx" "http://127.0.0.1:$nginx_port" pg_query
      ;;
    limit)
      # Three nginx instances answer every request, POST included, with the
      # board reply's bytes (a POST to a static file is refused with 405;
      # error_page turns it into a GET of the file).
      if [ ! -s "$work/board.bin" ]; then
        start_server "$work/limit-seed"
        seed "$port"
      fi
      mkdir -p "$work/www-limit"
      cp "$work/board.bin" "$work/www-limit/board.txt"
      upstreams=()
      for i in 1 2 3; do
        cat > "$work/site-up$i.conf" <<CONF
server {
  listen 127.0.0.1:@PORT@;
  root $work/www-limit;
  keepalive_timeout 1s;
  location / { default_type text/html; error_page 405 =200 /board.txt; try_files /board.txt =404; }
}
CONF
        start_nginx "up$i" "$work/site-up$i.conf" 1
        upstreams+=("$nginx_port")
      done
      site_for_ports "${upstreams[*]}" > "$work/site-limit.conf"
      start_nginx limit "$work/site-limit.conf"
      wrk -t2 -c16 -d2s -s "$work/board.lua" "http://127.0.0.1:$nginx_port/wtt" > /dev/null 2>&1 || true
      run "the layout's limit (site to three static nginx): board read" 16 board "http://127.0.0.1:$nginx_port/wtt"
      ;;
    *) echo "unknown form $form" >&2; exit 2 ;;
  esac
done

# nginx's own rate for a static file of the board reply's size.
mkdir -p "$work/www"
head -c "${board_size:-600}" /dev/zero | tr '\0' 'x' > "$work/www/board.txt"
cat > "$work/site-static.conf" <<CONF
server {
  listen 127.0.0.1:@PORT@;
  root $work/www;
  location / { add_header Cache-Control no-store; }
}
CONF
start_nginx static "$work/site-static.conf"
run "nginx static file (board size)" 16 get "http://127.0.0.1:$nginx_port/board.txt"

echo "board reply: $board_size bytes; ${duration}s per run; $(nproc) processors" >&2
printf '\n%-62s %10s %9s %9s %7s\n' "run" "req/s" "p50 ms" "p99 ms" "errors"
nginx_rps=0
declare -A board_rps=()
for r in "${results[@]}"; do
  label=${r%%|*}
  if [ "${r#*|}" = NOTE ]; then
    echo "$label"
    continue
  fi
  read -r _ rps p50 p99 errors total kinds <<< "${r#*|}"
  printf '%-62s %10s %9s %9s %7s %s\n' "$label" "$rps" "$p50" "$p99" "$errors" "${kinds:+(c/r/w/s/t/no: $kinds)}"
  case "$label" in
    "nginx static file"*) nginx_rps=$rps ;;
    *": board read") board_rps[${label%: board read}]=$rps ;;
  esac
done
if [ "$nginx_rps" != 0 ]; then
  echo
  for form in "${!board_rps[@]}"; do
    case "$form" in "the layout's limit"*) continue ;; esac
    awk -v b="${board_rps[$form]}" -v n="$nginx_rps" -v f="$form" \
      'BEGIN { printf "board read / nginx static, %s: %.0f%%\n", f, 100 * b / n }'
  done
fi
limit_rps=0
for form in "${!board_rps[@]}"; do
  case "$form" in "the layout's limit"*) limit_rps=${board_rps[$form]} ;; esac
done
three_rps=${board_rps["three processes behind nginx"]:-0}
if [ "$limit_rps" != 0 ] && [ "$three_rps" != 0 ]; then
  awk -v b="$three_rps" -v n="$limit_rps" \
    'BEGIN { printf "board read through nginx to three servers / the layout'"'"'s limit: %.0f%%\n", 100 * b / n }'
fi
