#!/usr/bin/env bash
# The release package comes out the same, byte for byte, wherever it is made:
# this build's program and package against those of a second build of the
# same sources, copied into another folder and built in another. This
# build's package is made first, so that the second comes minutes after it
# and a time taken from the clock shows. The package is also held to its
# layout: the folder Keyfolio with the build's program, its README.txt with
# Windows line ends, and the help page.
#
#   ReproduciblePackage.sh <this build's folder> <its build type>
set -euo pipefail
build=$1
buildType=$2
source "$(dirname "$0")/../../scripts/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Any time serves, as long as both packages take the same.
export SOURCE_DATE_EPOCH=1767225600

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

kfo_package "$build" "$work/first"

# Everything but the builds, the packages and the history (what .gitignore
# names, and this build's folder wherever it is).
mkdir "$work/sources"
tar -C "$KFO_ROOT" --exclude=./.git --exclude='./build*' --exclude=./dist --exclude=./Testing \
  --exclude="./${build#"$KFO_ROOT"/}" -cf - . | tar -C "$work/sources" -xf -
# libsodium's sources as scripts/lib.sh fetched them for this build: the
# second build compiles the same ones, from its own build folder.
mkdir -p "$work/build"
cp -a "$build/deps" "$work/build/deps"
cmake -S "$work/sources" -B "$work/build" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE="$buildType" \
  -DCMAKE_TOOLCHAIN_FILE="$work/sources/cmake/toolchain-mingw-w64.cmake" >"$work/build.log"
# Beside the tests, which wait on windows more than they compute.
nice cmake --build "$work/build" -j "$(nproc)" --target Keyfolio >>"$work/build.log" 2>&1 ||
  { cat "$work/build.log"; fail "the second build"; }
kfo_package "$work/build" "$work/second"

sum() { sha256sum "$1" | cut -d ' ' -f 1; }
echo "this build:   $(sum "$build/dist/Keyfolio/Keyfolio.exe")  Keyfolio.exe"
echo "              $(cat "$work/first/SHA256SUMS")"
echo "second build: $(sum "$work/build/dist/Keyfolio/Keyfolio.exe")  Keyfolio.exe"
echo "              $(cat "$work/second/SHA256SUMS")"
cmp "$build/dist/Keyfolio/Keyfolio.exe" "$work/build/dist/Keyfolio/Keyfolio.exe" ||
  fail "the two builds' programs differ"
cmp "$work/first/SHA256SUMS" "$work/second/SHA256SUMS" || fail "the two packages differ"

zip=$work/first/Keyfolio-$(kfo_version "$build")-win64.zip
expected='Keyfolio/
Keyfolio/Keyfolio.exe
Keyfolio/README.txt
Keyfolio/help/
Keyfolio/help/Keyfolio-Flash-Instructions.htm'
[ "$(unzip -Z1 "$zip")" = "$expected" ] || fail "the zip holds: $(unzip -Z1 "$zip")"
unzip -p "$zip" Keyfolio/Keyfolio.exe | cmp - "$build/dist/Keyfolio/Keyfolio.exe" ||
  fail "the zip's program is not the build's"
unzip -p "$zip" Keyfolio/help/Keyfolio-Flash-Instructions.htm |
  cmp - "$KFO_ROOT/help/Keyfolio-Flash-Instructions.htm" || fail "the zip's help page"
unzip -p "$zip" Keyfolio/README.txt >"$work/README.txt"
lines=$(tr -cd '\n' <"$work/README.txt" | wc -c)
[ "$lines" -gt 0 ] && [ "$(grep -c $'\r$' "$work/README.txt")" -eq "$lines" ] &&
  [ "$(tail -c 2 "$work/README.txt" | od -An -tx1 | tr -d ' ')" = 0d0a ] ||
  fail "README.txt has lines that do not end in CR LF"
grep -q "Keyfolio-$(kfo_version "$build")-win64.zip" "$work/README.txt" ||
  fail "README.txt does not name the zip"
echo "the same bytes from both builds; the zip holds what it should"
