#!/usr/bin/env bash
# Builds the two Debian packages from the build tree, unpacks them with
# dpkg-deb -x and checks that every file lies where the desktop and systemd
# look for it, that the server takes its shipped configuration, and that the
# unpacked game, as a player without write access to the program's folder
# (as after "apt install"), seeds a fresh per-user folder and reaches the
# menu.
# Usage: packages_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2

work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

mapfile -t debs < <("$src/packaging/build-debs.sh" "$build" "$work/debs" | tail -n 2)
game_deb=${debs[0]}
server_deb=${debs[1]}

root=$work/root
mkdir -p "$root"
dpkg-deb -x "$game_deb" "$root"
dpkg-deb -x "$server_deb" "$root"

# ---- Where the files land ----------------------------------------------
expect_file() { [ -f "$root/$1" ] || fail "missing /$1"; }
for f in \
  usr/bin/vokabron \
  usr/share/applications/org.vokabron.Vokabron.desktop \
  usr/share/metainfo/org.vokabron.Vokabron.metainfo.xml \
  usr/share/icons/hicolor/48x48/apps/org.vokabron.Vokabron.png \
  usr/share/icons/hicolor/64x64/apps/org.vokabron.Vokabron.png \
  usr/share/vokabron/Vokabron.clb \
  usr/share/vokabron/help/index.html \
  usr/share/man/man6/vokabron.6.gz \
  usr/share/doc/vokabron/copyright \
  usr/bin/vokabron-server \
  usr/lib/systemd/system/vokabron-server.service \
  usr/lib/systemd/system/vokabron-server@.service \
  usr/share/vokabron-server/vokabron-server.conf \
  usr/share/vokabron-server/nginx-vokabron.conf \
  usr/share/man/man8/vokabron-server.8.gz \
  usr/share/doc/vokabron-server/copyright; do
  expect_file "$f"
done
[ -x "$root/usr/bin/vokabron" ] && [ -x "$root/usr/bin/vokabron-server" ] || fail "programs not executable"
# Nothing outside /usr: the system's own folders are the maintainer
# scripts' business.
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"

# The entry names the program and the icon the package carries.
desktop=$root/usr/share/applications/org.vokabron.Vokabron.desktop
desktop-file-validate "$desktop" || fail "desktop entry invalid"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$root/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not in /usr/bin"
[ -f "$root/usr/share/icons/hicolor/64x64/apps/$icon_name.png" ] || fail "Icon=$icon_name has no hicolor picture"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" \
  "$root/usr/share/metainfo/org.vokabron.Vokabron.metainfo.xml" || fail "metainfo names another desktop entry"

# The unit starts the packaged program with the configuration the
# installation writes, as the user the installation makes.
unit=$root/usr/lib/systemd/system/vokabron-server.service
exec_start=$(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$unit")
[ -x "$root/usr/bin/$(basename "$exec_start")" ] || fail "ExecStart=$exec_start is not in /usr/bin"
grep -q '^User=vokabron$' "$unit" || fail "unit runs as another user"
grep -q -- '--config /etc/vokabron-server.conf' "$unit" || fail "unit reads another configuration"
grep -q 'adduser --system' <(dpkg-deb --ctrl-tarfile "$server_deb" | tar -xOf - ./postinst) \
  || fail "postinst makes no system user"
"$root/usr/bin/vokabron-server" --config "$root/usr/share/vokabron-server/vokabron-server.conf" \
  --print-texts >/dev/null || fail "the server refuses its shipped configuration"

# The dependencies were read off the programs.
game_depends=$(dpkg-deb -f "$game_deb" Depends)
server_depends=$(dpkg-deb -f "$server_deb" Depends)
[[ $game_depends == *libqt6widgets6* && $game_depends == *libsdl2-mixer* ]] || fail "game depends: $game_depends"
[[ $server_depends == *libsqlite3-0* && $server_depends == *libsodium* && $server_depends == *adduser* ]] \
  || fail "server depends: $server_depends"

# ---- The unpacked game on a fresh account --------------------------------
# A player may not write to the program's folder: as root, the game runs as
# nobody; otherwise the unpacked tree is made read-only.
home=$work/home
runtime=$work/runtime
mkdir -p "$home" "$runtime"
chmod 700 "$runtime"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$home" "$runtime"
  run_as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  user=nobody
else
  chmod -R a-w "$root/usr"
  user=$(id -un)
fi
status=0
timeout 120 "${run_as[@]}" env -i PATH=/usr/bin:/bin HOME="$home" USER="$user" XDG_RUNTIME_DIR="$runtime" \
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy VOKABRON_STOP_AT_MENU=1 \
  "$root/usr/bin/vokabron" >"$work/game.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/game.log" >&2; fail "the game did not reach the menu (exit $status)"; }

data=$home/.local/share/vokabron
cmp -s "$data/Vokabron.clb" "$root/usr/share/vokabron/Vokabron.clb" || fail "club file not seeded into $data"
[ -f "$data/Vokabron.ini" ] || fail "settings not written into $data"
[ "$(stat -c %a "$data/Vokabron.clb")" = 644 ] || fail "seeded club file is not the player's to write"
[ ! -e "$root/usr/bin/Vokabron.ini" ] || fail "the game wrote beside its program"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "packages: both built, unpacked and checked; the game seeded $data and reached the menu"
