#!/usr/bin/env bash
# Builds the Debian packages vokabron and vokabron-server and checks them
# with lintian, which must find no error.
#
# Usage: packaging/build-debs.sh [BUILD_DIR [OUT_DIR]]
#   BUILD_DIR  the build tree to package (default: build, as ./run and ./test
#              leave it); configured and built here when it has no build yet
#   OUT_DIR    where the .deb files go (default: BUILD_DIR/debs)
# Prints the paths of the two packages on its last two lines.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
out=${2:-$build/debs}

# dpkg-shlibdeps (dpkg-dev) computes the dependencies, file tells CPack the
# programs from the data, lintian checks the result.
scripts/install-deps dpkg-dev file lintian

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOKABRON_TESTS=OFF -DVOKABRON_BENCH=OFF
fi
cmake --build "$build" -j2 --target vokabron vokabron-server packaging_files

rm -rf "$out"
mkdir -p "$out"
# CPack writes its staging tree and its log under the output folder.
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || {
  cat "$out/cpack.log" >&2
  exit 1
}

debs=("$out"/vokabron_*.deb "$out"/vokabron-server_*.deb)
for deb in "${debs[@]}"; do
  [ -f "$deb" ] || { echo "build-debs: no package $deb" >&2; exit 1; }
done

# Errors fail the build; warnings and notes are shown for the reader.
lintian --fail-on error --tag-display-limit 0 "${debs[@]}" >&2

for deb in "${debs[@]}"; do
  echo "$deb"
done
