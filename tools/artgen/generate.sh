#!/usr/bin/env bash
# Redraws every still picture of the game into resources/png, resources/png/flags
# and resources/jpeg, writes resources/contact_sheet.png and refreshes
# resources/resources.qrc. Installs what it needs when missing; builds in /tmp.
# Deterministic: the same inputs give byte-identical files.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
build="${ARTGEN_BUILD:-/tmp/build-artgen}"
npm_dir="${ARTGEN_NPM:-/tmp/artgen-npm}"
font=/usr/share/fonts/truetype/fonts-oldstandard/OldStandard-Bold.ttf
flag_icons_version=7.6.0

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v npm >/dev/null || need+=(npm)
command -v python3 >/dev/null || need+=(python3)
dpkg -s qt6-base-dev >/dev/null 2>&1 || need+=(qt6-base-dev)
dpkg -s qt6-svg-dev >/dev/null 2>&1 || need+=(qt6-svg-dev)
dpkg -s qt6-qpa-plugins >/dev/null 2>&1 || need+=(qt6-qpa-plugins)
[ -f "$font" ] || need+=(fonts-oldstandard)
if [ ${#need[@]} -gt 0 ]; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${need[@]}"
fi

# Flag artwork (MIT): a pinned release, installed outside the repository.
flags="$npm_dir/node_modules/flag-icons/flags/4x3"
if [ "$(node -p "require('$npm_dir/node_modules/flag-icons/package.json').version" 2>/dev/null)" != "$flag_icons_version" ]; then
    mkdir -p "$npm_dir"
    npm install --prefix "$npm_dir" --no-save --no-audit --no-fund "flag-icons@$flag_icons_version"
fi

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2

# The flag SVGs use a few features Qt SVG skips (tiny emblem gradients); its
# warnings about them are noise at 14 x 12.
QT_LOGGING_RULES="qt.svg.warning=false;qt.svg=false" QT_QPA_PLATFORM=offscreen "$build/artgen" --resources "$repo/resources" --font "$font" --flags "$flags" "$@" \
    2> >(grep -v "Could not resolve property" >&2)
python3 "$repo/tools/make_qrc.py"
