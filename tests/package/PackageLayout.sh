#!/usr/bin/env bash
# The release package made from this build holds what it should: the folder
# Keyfolio with the build's program, its README.txt with Windows line ends
# and naming the zip, and the help page. That it is the same, byte for byte,
# from a second build of the same sources is a property of the release:
# scripts/package --twice holds it.
#
#   PackageLayout.sh <this build's folder>
set -euo pipefail
build=$1
source "$(dirname "$0")/../../scripts/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Any time serves.
export SOURCE_DATE_EPOCH=1767225600

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

kfo_package "$build" "$work"
zip=$work/Keyfolio-$(kfo_version "$build")-win64.zip
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
echo "the zip holds what it should"
