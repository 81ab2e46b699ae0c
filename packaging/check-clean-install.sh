#!/usr/bin/env bash
# Installs both packages with "apt install ./<package>.deb" into a minimal
# Debian 12 made afresh by debootstrap, and uses them there: the game, as a
# new player, seeds its folder and reaches the menu; the server runs as its
# system user on its data folder; removing and purging the server keeps the
# club's data.  Takes a few minutes (the download of the system and of the
# libraries); needs root and Debian's mirror.
#
# Usage: sudo packaging/check-clean-install.sh [DEBS_DIR]
#   DEBS_DIR  holds vokabron_*.deb and vokabron-server_*.deb (default
#             build/debs; packaging/build-debs.sh makes them when missing)
# MIRROR=<address> names the Debian mirror; by default the one this
# machine's apt uses.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -ne 0 ]; then
  echo "check-clean-install: run as root (debootstrap and chroot need it)" >&2
  exit 1
fi
debs=${1:-build/debs}
if ! compgen -G "$debs/vokabron_*.deb" >/dev/null || ! compgen -G "$debs/vokabron-server_*.deb" >/dev/null; then
  packaging/build-debs.sh build "$debs" >/dev/null
fi
scripts/install-deps debootstrap

sources=/etc/apt/sources.list.d/debian.sources
own_sources=no
if [ -z "${MIRROR:-}" ]; then
  if [ -f "$sources" ]; then
    own_sources=yes
    MIRROR=$(awk '/^URIs:/ { print $2; exit }' "$sources")
  else
    MIRROR=$(awk '$1 == "deb" && $3 ~ /^bookworm$/ { print $2; exit }' /etc/apt/sources.list)
  fi
fi
[ -n "$MIRROR" ] || { echo "check-clean-install: no Debian mirror found; set MIRROR" >&2; exit 1; }

target=$(mktemp -d /var/tmp/vokabron-bookworm.XXXXXX)
# The new system's root folder: open to its users, as "/" is.
chmod 755 "$target"
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -l "${mounted[i]}" 2>/dev/null || true
  done
  # Never follow a mount that is still there.
  if ! grep -q " $target/" /proc/mounts; then
    rm -rf "$target"
  fi
}
trap cleanup EXIT

step() { echo "== $* ($SECONDS s)"; }
in_root() { chroot "$target" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C.UTF-8 "$@"; }

step "debootstrap bookworm from $MIRROR"
debootstrap --variant=minbase bookworm "$target" "$MIRROR" >"$target.log" 2>&1 || {
  tail -n 30 "$target.log" >&2
  exit 1
}
rm -f "$target.log"
# The suites of a Debian 12 installation, as this machine's list names
# them (main, updates and security).
if [ "$own_sources" = yes ]; then
  cp "$sources" "$target/etc/apt/sources.list.d/debian.sources"
  : >"$target/etc/apt/sources.list"
fi
mount -t proc proc "$target/proc" && mounted+=("$target/proc")
mount --bind /dev "$target/dev" && mounted+=("$target/dev")
mount --bind /dev/pts "$target/dev/pts" && mounted+=("$target/dev/pts")

mkdir -p "$target/tmp/debs"
cp "$debs"/vokabron_*.deb "$debs"/vokabron-server_*.deb "$target/tmp/debs/"

step "apt install ./vokabron_*.deb ./vokabron-server_*.deb"
in_root apt-get update -qq
in_root sh -c 'cd /tmp/debs && DEBIAN_FRONTEND=noninteractive apt install -y -q ./vokabron_*.deb ./vokabron-server_*.deb' \
  >"$target/tmp/apt.log" 2>&1 || {
  tail -n 40 "$target/tmp/apt.log" >&2
  exit 1
}

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

step "the server's user, folders and configuration"
in_root getent passwd vokabron >/dev/null || fail "no system user vokabron"
[ "$(in_root stat -c %U /var/lib/vokabron-server)" = vokabron ] || fail "/var/lib/vokabron-server is not vokabron's"
[ -f "$target/etc/vokabron-server.conf" ] || fail "no /etc/vokabron-server.conf"
[ -f "$target/usr/lib/systemd/system/vokabron-server.service" ] || fail "no systemd unit"

step "the server as its user, as the unit starts it"
in_root setpriv --reuid=vokabron --regid=vokabron --init-groups \
  timeout 5 vokabron-server --host 127.0.0.1 --port 0 --data-dir /var/lib/vokabron-server \
  --config /etc/vokabron-server.conf >"$target/tmp/server.log" 2>&1 || true
grep -q '^port=' "$target/tmp/server.log" || { cat "$target/tmp/server.log" >&2; fail "the server did not start"; }
[ -f "$target/var/lib/vokabron-server/club.db" ] || fail "the server made no database"

step "the game as a new player"
in_root useradd --create-home player
in_root install -d -o player -m 700 /tmp/runtime-player
status=0
in_root setpriv --reuid=player --regid=player --init-groups \
  env HOME=/home/player USER=player XDG_RUNTIME_DIR=/tmp/runtime-player QT_QPA_PLATFORM=offscreen \
  SDL_AUDIODRIVER=dummy VOKABRON_STOP_AT_MENU=1 timeout 120 vokabron >"$target/tmp/game.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$target/tmp/game.log" >&2; fail "the game did not reach the menu (exit $status)"; }
cmp -s "$target/home/player/.local/share/vokabron/Vokabron.clb" "$target/usr/share/vokabron/Vokabron.clb" \
  || fail "the club file was not seeded into the player's folder"
[ -f "$target/home/player/.local/share/vokabron/Vokabron.ini" ] || fail "no settings file in the player's folder"

step "remove and purge the server: the club's data stays"
in_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q vokabron-server >/dev/null
[ -f "$target/var/lib/vokabron-server/club.db" ] || fail "removal deleted the club's database"
[ -f "$target/etc/vokabron-server.conf" ] || fail "removal deleted the configuration"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q vokabron-server >/dev/null
[ -f "$target/var/lib/vokabron-server/club.db" ] || fail "purge deleted the club's database"
[ ! -e "$target/etc/vokabron-server.conf" ] || fail "purge left the configuration"

if [ "$failures" -ne 0 ]; then
  echo "check-clean-install: $failures check(s) failed" >&2
  exit 1
fi
step "clean install checked: both packages install, run and remove on Debian 12"
