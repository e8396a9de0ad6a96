# Shared steps of the scripts: install what is missing, build, make the
# release package, and give Windows programs a display and a warm Wine prefix
# of their own. Sourced, not run.

KFO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KFO_BUILD=${KFO_BUILD_DIR:-$KFO_ROOT/build}
export WINEPREFIX=$KFO_BUILD/wineprefix
export WINEDEBUG=-all

KFO_PACKAGES=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
              googletest wine wine64 xvfb xauth fonts-wine fonts-liberation zip unzip dpkg-dev)

kfo_log() { printf '== %s\n' "$*" >&2; }

kfo_install_packages() {
  local missing=() package
  for package in "${KFO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  kfo_log "installing ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# libsodium, the program's cryptography, comes as Debian's source package of
# the release that this machine runs, with Debian's patches; CMake compiles
# the few of its sources that the program uses (cmake/Sodium.cmake). The
# source entry is made from this machine's own apt entries of that release,
# kept in the build folder with apt's lists for it, so the machine's apt
# setup is left as it is. Fetched once per build folder.
KFO_SODIUM_VERSION=1.0.18

# This machine's apt entries for its own release ($1), as source entries:
# one-line entries (sources.list, *.list) and deb822 stanzas (*.sources),
# each with only that suite, in a file of each form under $2.
kfo_source_entries() {
  local release=$1 out=$2 file
  : >"$out/release.list"
  : >"$out/release.sources"
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    awk -v release="$release" '
      $1 == "deb" {
        sub(/^deb[ \t]+/, "deb-src ")
        for (i = 2; i <= NF; i++) if ($i == release) { print; break }
      }' "$file" >>"$out/release.list"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    # Paragraph by paragraph; a field goes on over lines that begin with
    # white space (an inline key of Signed-By).
    awk -v release="$release" '
      BEGIN { RS = ""; FS = "\n" }
      {
        binary = 0; ours = 0; kept = ""; skipping = 0
        for (i = 1; i <= NF; i++) {
          line = $i
          if (line ~ /^#/) continue
          if (line ~ /^[ \t]/) { if (!skipping) kept = kept line "\n"; continue }
          skipping = 0
          field = tolower(substr(line, 1, index(line, ":") - 1))
          value = substr(line, index(line, ":") + 1)
          if (field == "types") {
            binary = (" " value " ") ~ /[ \t]deb[ \t]/; skipping = 1; continue
          }
          if (field == "suites") {
            n = split(value, suites, /[ \t]+/)
            for (j = 1; j <= n; j++) if (suites[j] == release) ours = 1
            skipping = 1; continue
          }
          if (field == "enabled" && value ~ /no/) { binary = 0 }
          kept = kept line "\n"
        }
        if (binary && ours) printf "Types: deb-src\nSuites: %s\n%s\n", release, kept
      }' "$file" >>"$out/release.sources"
  done
  [ -s "$out/release.list" ] || [ -s "$out/release.sources" ]
}

kfo_fetch_sodium() {
  local deps=$KFO_BUILD/deps
  local tree=$deps/libsodium-$KFO_SODIUM_VERSION
  [ -e "$tree/.kfo-ready" ] && return 0
  local release
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$release" ] || { kfo_log "no VERSION_CODENAME in /etc/os-release: not a Debian machine?"; return 1; }
  kfo_log "fetching libsodium $KFO_SODIUM_VERSION: Debian's source package for $release"
  local apt=$deps/apt
  rm -rf "$apt" "$tree" "$deps"/libsodium_*
  mkdir -p "$apt/entries" "$apt/lists/partial" "$apt/cache/archives/partial"
  kfo_source_entries "$release" "$apt/entries" ||
    { kfo_log "no apt entry of $release on this machine to take the sources from"; return 1; }
  local options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt/entries"
                 -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
                 -o APT::Sandbox::User=root)
  apt-get "${options[@]}" update -qq
  (cd "$deps" && apt-get "${options[@]}" source -qq --only-source libsodium >/dev/null)
  [ -d "$tree" ] || {
    kfo_log "apt-get source gave no libsodium-$KFO_SODIUM_VERSION in $deps: $(ls "$deps")"
    return 1
  }
  rm -rf "$apt" "$deps"/libsodium_*
  touch "$tree/.kfo-ready"
}

kfo_configure() {
  kfo_fetch_sodium
  kfo_log "building in $KFO_BUILD"
  cmake -S "$KFO_ROOT" -B "$KFO_BUILD" -DCMAKE_TOOLCHAIN_FILE="$KFO_ROOT/cmake/toolchain-mingw-w64.cmake" \
    >/dev/null
}

# Builds the target named (the program alone: Keyfolio), or everything (the
# program, the tests and the benchmarks) when none is, with the build's
# progress in view. A failed build is run again one step at a time, so that
# its errors come in order.
kfo_build() {
  local target=()
  [ $# -gt 0 ] && target=(--target "$1")
  kfo_configure
  cmake --build "$KFO_BUILD" -j "$(nproc)" "${target[@]}" -- --no-print-directory || {
    kfo_log "the build failed; once more one step at a time, for its errors in order"
    cmake --build "$KFO_BUILD" "${target[@]}" -- --no-print-directory
  }
}

# The version people call the program by ("1.01"), from the header that the
# build in $1 wrote.
kfo_version() {
  sed -n 's/^#define KFO_VERSION_NAME "\(.*\)"$/\1/p' "$1/generated/KeyfolioVersion.h"
}

# Makes $2/Keyfolio-<version>-win64.zip from the portable folder of the build
# in $1, and $2/SHA256SUMS beside it. The zip holds the folder Keyfolio with
# the program, its README.txt and its help page, the same bytes for the same
# program wherever it is made: its entries come in a fixed order, with fixed
# permissions, no owners, and the time of the commit (SOURCE_DATE_EPOCH, which
# is the commit's when not set) in UTC.
kfo_package() {
  local build=$1 out version epoch stage
  out=$(mkdir -p "$2" && cd "$2" && pwd)
  version=$(kfo_version "$build")
  [ -n "$version" ] || { kfo_log "no version in $build/generated/KeyfolioVersion.h"; return 1; }
  epoch=${SOURCE_DATE_EPOCH:-$(git -C "$KFO_ROOT" log -1 --format=%ct 2>/dev/null)} || true
  [ -n "$epoch" ] || { kfo_log "no commit to take the time from: set SOURCE_DATE_EPOCH"; return 1; }
  stage=$(mktemp -d)
  mkdir -p "$stage/Keyfolio/help"
  cp "$build/dist/Keyfolio/Keyfolio.exe" "$build/dist/Keyfolio/README.txt" "$stage/Keyfolio/"
  cp "$build/dist/Keyfolio/help/Keyfolio-Flash-Instructions.htm" "$stage/Keyfolio/help/"
  local entries=(Keyfolio/ Keyfolio/Keyfolio.exe Keyfolio/README.txt Keyfolio/help/
                 Keyfolio/help/Keyfolio-Flash-Instructions.htm)
  local entry
  for entry in "${entries[@]}"; do
    if [ -d "$stage/$entry" ]; then chmod 755 "$stage/$entry"; else chmod 644 "$stage/$entry"; fi
    touch -d "@$epoch" "$stage/$entry"
  done
  local zip=Keyfolio-$version-win64.zip
  # zip adds to an archive that is there already.
  rm -f "$out/$zip"
  (cd "$stage" && TZ=UTC zip -q -X "$out/$zip" "${entries[@]}")
  (cd "$out" && sha256sum "$zip" >SHA256SUMS)
  rm -rf "$stage"
  kfo_log "$out/$zip and its SHA256SUMS"
}

KFO_XVFB_PID=
KFO_TINY_DISK=

# Windows under Wine need an X display; without one, message boxes and dialogs
# return at once and make no window. Starts Xvfb when DISPLAY is unset.
kfo_start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  # -displayfd lets Xvfb pick a free display itself and tell us which, so two
  # runs starting at once cannot race for one number.
  local numberFile
  numberFile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
  KFO_XVFB_PID=$!
  local waited=0
  until [ -s "$numberFile" ]; do
    kill -0 "$KFO_XVFB_PID" 2>/dev/null || { kfo_log "Xvfb did not start"; return 1; }
    [ $waited -ge 100 ] && { kfo_log "Xvfb did not start in 10 s"; return 1; }
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=":$(tr -d '[:space:]' <"$numberFile")"
  rm -f "$numberFile"
}

# A private prefix, made once per build folder: no window manager under Xvfb
# (Managed=N, or every close stalls and keyboard input goes nowhere) and
# Wine's fonts in the Windows font folder (or dialog metrics change).
kfo_prepare_prefix() {
  if [ ! -e "$WINEPREFIX/.kfo-ready" ]; then
    kfo_log "creating the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    wineserver -k
    wineserver -w
    touch "$WINEPREFIX/.kfo-ready"
  fi
  kfo_windows_look
  local dpi
  for dpi in "${KFO_SCALED_DPIS[@]}"; do kfo_scaled_prefix "$dpi"; done
  # One warm server for the whole run; its first process fixes the display
  # for every later one.
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1
}

# The display scales, other than 96 DPI, that the tests run at, and that
# scripts/screenshots can take pictures at: 125%, 150% and 200%.
KFO_SCALED_DPIS=(120 144 192)

kfo_scaled_prefix_path() {
  printf '%s-dpi%s' "$WINEPREFIX" "$1"
}

# A copy of the prefix at $1 DPI, made once per build folder (and again when
# the prefix itself is made anew). Wine takes the scale from LogPixels in
# the prefix's registry when its server starts, and a prefix takes about 700
# MB: the copy's files are hard links to the prefix's, except the registry,
# which Wine writes and which is copied, so the prefix itself never changes.
kfo_scaled_prefix() {
  local dpi=$1 copy
  copy=$(kfo_scaled_prefix_path "$dpi")
  [ "$copy/.kfo-dpi-ready" -nt "$WINEPREFIX/.kfo-windows-look" ] && return 0
  kfo_log "copying the Wine prefix for $dpi DPI"
  rm -rf "$copy"
  cp -al "$WINEPREFIX" "$copy"
  local hive
  for hive in user.reg system.reg userdef.reg; do
    rm -f "$copy/$hive"
    cp "$WINEPREFIX/$hive" "$copy/$hive"
  done
  # Every earlier LogPixels line of the key goes; the new one follows the
  # key's time stamp.
  awk -v dpi="$(printf 'dword:%08x' "$dpi")" '
    /^\[/ { desktop = ($0 ~ /^\[Control Panel\\\\Desktop\]/) }
    desktop && /^"LogPixels"=/ { next }
    { print }
    desktop && /^#time=/ { print "\"LogPixels\"=" dpi }
  ' "$WINEPREFIX/user.reg" >"$copy/user.reg"
  grep -q "^\"LogPixels\"=$(printf 'dword:%08x' "$dpi")" "$copy/user.reg" ||
    { kfo_log "no LogPixels in $copy/user.reg"; return 1; }
  touch "$copy/.kfo-dpi-ready"
}

# Runs the Windows programs that follow at $1 DPI: in the copy of the prefix
# for that scale, with a warm server of its own.
kfo_use_scale() {
  [ "$1" -eq 96 ] && return 0
  export WINEPREFIX
  WINEPREFIX=$(kfo_scaled_prefix_path "$1")
  [ -e "$WINEPREFIX/.kfo-dpi-ready" ] || { kfo_log "no prefix for $1 DPI"; return 1; }
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1
}

# What Windows shows that Wine does not by default. The program asks for the
# system's default face, Arial on Windows; without Arial, Wine takes DejaVu
# Sans, which is wider, and texts that fit on Windows wrap or are cut off.
# Liberation Sans has Arial's metrics, and Wine takes it for the default
# face. And Windows paints menus, and so the main window's background, in the
# grey of the button face, where Wine's default is white. Done once per
# prefix; a font is seen by the processes of a server started after it came.
kfo_windows_look() {
  [ -e "$WINEPREFIX/.kfo-windows-look" ] && return 0
  wineserver -k 2>/dev/null || true
  wineserver -w
  cp /usr/share/fonts/truetype/liberation/LiberationSans-*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  wine reg add 'HKCU\Control Panel\Colors' /v Menu /d '240 240 240' /f >/dev/null 2>&1
  wineserver -k
  wineserver -w
  touch "$WINEPREFIX/.kfo-windows-look"
}

# Drive T: is a 64 KiB disk, for tests of what a full disk does to a write.
# The program does not fit on it: drive U: is a folder of the build's own
# whose KFOdata is T:\KFOdata, so that the program runs from U: with its data
# on the small disk. It needs root; without it those tests skip and say why.
kfo_mount_tiny_disk() {
  KFO_TINY_DISK=$KFO_BUILD/tiny-disk
  mkdir -p "$KFO_TINY_DISK"
  mountpoint -q "$KFO_TINY_DISK" || mount -t tmpfs -o size=64k tmpfs "$KFO_TINY_DISK" 2>/dev/null || {
    kfo_log "no 64 KiB disk (mounting needs root): the full-disk tests will skip"
    rm -f "$WINEPREFIX/dosdevices/t:" "$WINEPREFIX/dosdevices/u:"
    KFO_TINY_DISK=
    return 0
  }
  ln -sfn "$KFO_TINY_DISK" "$WINEPREFIX/dosdevices/t:"
  mkdir -p "$KFO_BUILD/tiny-disk-program"
  ln -sfn "$KFO_TINY_DISK/KFOdata" "$KFO_BUILD/tiny-disk-program/KFOdata"
  ln -sfn "$KFO_BUILD/tiny-disk-program" "$WINEPREFIX/dosdevices/u:"
}

# Called from an exit trap, with errexit on: no step may fail, or the steps
# after it are skipped (a server that is not running refuses -k).
kfo_stop() {
  # The prefix's server and those of its scaled copies, which build/wine-run
  # and kfo_use_scale start.
  local base=${WINEPREFIX%-dpi*} dpi
  WINEPREFIX=$base wineserver -k 2>/dev/null || true
  for dpi in "${KFO_SCALED_DPIS[@]}"; do
    WINEPREFIX=$base-dpi$dpi wineserver -k 2>/dev/null || true
  done
  if [ -n "$KFO_TINY_DISK" ]; then
    rm -f "$base/dosdevices/t:" "$base/dosdevices/u:"
    umount "$KFO_TINY_DISK" 2>/dev/null || true
  fi
  [ -n "$KFO_XVFB_PID" ] && kill "$KFO_XVFB_PID" 2>/dev/null
  return 0
}
