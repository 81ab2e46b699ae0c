#!/usr/bin/env bash
# Peak resident memory of the program on the main menu, at window sizes 1
# and 5: the real program on a virtual 1920 x 1080 screen, through the intro
# (a key ends it) to the menu.  Reports VmHWM (the peak since the start) and
# VmRSS (at the menu) from /proc.
# Usage: bench/menu_memory.sh [build folder]   (default: build)
# Needs: scripts/install-deps --bench (Xvfb, xdotool)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
program="$build/vokabron"
settings="$build/Vokabron.ini"
[ -x "$program" ] || { echo "no $program: build the program first" >&2; exit 1; }

# The program keeps its settings beside itself: put the player's file back
# afterwards.
backup=""
if [ -f "$settings" ]; then
  backup="$(mktemp)"
  cp "$settings" "$backup"
fi
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  kill "$xvfb" 2>/dev/null || true
  if [ -n "$backup" ]; then mv "$backup" "$settings"; else rm -f "$settings"; fi
}
trap cleanup EXIT
sleep 1

for size in 1 5; do
  # A whole settings file, so that the start-up takes every step (the
  # remote refresh too): sound and music on, own font, no font window, this
  # size ("и" and "л" in Windows-1251).  The two stored addresses are
  # placeholders; the refresh asks the club server for the real ones.
  printf '%s\r\n' '<# Sound, Music, Font, Show Font Window, Window Size, Stat1, Stat2>' \
    "$(printf '\xe8\xe8\xe8\xeb')${size}RL" '<# Server: Path>' 'x' '<# Server: Nick>' 'Incognito' \
    '<# Server: Country>' '1-001' '<# Server: City>' 'Moscow' '<# Server: Sex>' 'M' \
    '<# Name of Player>' 'Bench' '<# Server: Stat>' 'x' >"$settings"
  DISPLAY="$display" SDL_AUDIODRIVER=dummy "$program" >/dev/null 2>&1 &
  pid=$!
  sleep 12                      # the intro's own steps
  DISPLAY="$display" xdotool key space
  sleep 8                       # the menu is built and its animations run
  hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  printf 'size %s: peak %.1f MiB, on the menu %.1f MiB\n' "$size" "$(echo "$hwm/1024" | bc -l)" "$(echo "$rss/1024" | bc -l)"
done
