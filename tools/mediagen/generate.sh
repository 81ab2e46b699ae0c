#!/bin/bash
# Regenerates the game's animations, sounds, music and display font into
# resources/{gif,wav,mp3,font} and refreshes resources/resources.qrc.
#
# usage: tools/mediagen/generate.sh [font] [gif] [sound]   (default: all three)
# Installs what it needs from Debian when missing and builds in /tmp.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
RES=$ROOT/resources
BUILD=${MEDIAGEN_BUILD:-/tmp/build-mediagen}
PY=/usr/bin/python3   # Debian's, which has python3-fonttools

PARTS=("$@")
((${#PARTS[@]})) || PARTS=(font gif sound)
want() { [[ " ${PARTS[*]} " == *" $1 "* ]]; }

need=()
for pkg in cmake g++ qt6-base-dev libgif-dev sox fluidsynth fluid-soundfont-gm lame \
           python3 python3-fonttools fonts-oldstandard; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || need+=("$pkg")
done
if ((${#need[@]})); then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${need[@]}"
fi

mkdir -p "$RES"/{gif,wav,mp3,font} "$BUILD"

if want font; then
    "$PY" "$HERE/font/rename_font.py" \
        /usr/share/fonts/truetype/fonts-oldstandard/OldStandard-Bold.ttf \
        "$RES/font/OLDCYRBOLD.ttf" "$RES/font/OFL.txt"
fi

if want gif; then
    cmake -S "$HERE" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$BUILD" -j2
    "$BUILD/gifgen" "$RES/font/OLDCYRBOLD.ttf" "$RES/gif"
fi

if want sound; then
    "$PY" "$HERE/sound/make_sounds.py" "$RES" "$BUILD/sound"
fi

"$PY" "$ROOT/tools/make_qrc.py"
