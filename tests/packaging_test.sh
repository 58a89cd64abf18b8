#!/usr/bin/env bash
# Packs what script/test has built (the Linux build, build/win32, and build/win64 and the static
# Linux build in build/static when there are) with script/package, as script/release does, and
# checks the packages. Skipped (77) when there is no Windows build to pack.
#
#   packaging_test.sh SOURCE_DIR VERSION NATIVE_BUILD_DIR
set -euo pipefail
source=$1
version=$2
builds=("$3")
for preset in win32 win64; do
  if [ -f "$source/build/$preset/ui/Huevane.exe" ]; then
    builds+=("$source/build/$preset")
  fi
done
if [ "${#builds[@]}" -eq 1 ]; then
  echo "skipped: no Windows build in $source/build/win32"
  exit 77
fi
if [ -f "$source/build/static/cli/huevane-cli" ]; then
  builds+=("$source/build/static")
fi
dist=$(mktemp -d)
trap 'rm -rf "$dist"' EXIT
"$source/script/package" "$dist" "${builds[@]}" >/dev/null
python3 "$source/tests/packaging_test.py" "$dist" "$version" "$source"
