#!/bin/bash
# Qt for Windows, built here from Debian's source of the installed Qt version
# and cached outside the repository.
#
# Fetches qt6-base's source through apt (a private deb-src entry and private
# apt lists, so the system's own apt state is not touched), checks the
# tarball's SHA-256, configures qtbase for x86_64-w64-mingw32 with only what
# the tool needs (Core, Gui, Widgets, Network, the windows platform plugin and
# the windowsvista style), builds and installs it into
#   ${LX47_QT_CACHE:-$HOME/.cache/lx47}/qt-<version>-mingw64-<options hash>
# The folder's name carries the version and a hash of the configure options,
# so a change of either builds anew, and a second run with the same ones
# takes seconds. The moc, rcc and uic of the installed Linux Qt (which must be
# the same version) serve as host tools through QT_HOST_PATH.
#
# Usage: scripts/qt-windows.sh          prints the install folder on its last line
#        scripts/qt-windows.sh --path   only prints the folder it would use
# LX47_QT_BUILD_SECONDS bounds the compiling: a build that has not finished by
# then stops with exit status 75, its work folder kept, and the next run goes
# on from where it stopped.
# Exit status 0 when the folder holds a complete install.
set -euo pipefail
cd "$(dirname "$0")/.."

QT_VERSION=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null | sed 's/+.*//') || true
[ -n "$QT_VERSION" ] || { echo "qt-windows: qt6-base-dev is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
# The one upstream tarball behind every Debian revision of 6.4.2.
declare -A TARBALL_SHA256=(
  [6.4.2]=4f14b89a9463a540fd84a6718b8519a2297119b454ef547721015a9e9019ae9e
)
TRIPLE=x86_64-w64-mingw32

# Everything that decides the result; its hash names the cache folder.
CONFIGURE_OPTIONS=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_testlib=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF
  -DINPUT_opengl=no
  -DFEATURE_ssl=OFF -DFEATURE_schannel=OFF
  # The source tarball has no wintab headers.
  -DFEATURE_tabletevent=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_sql_sqlite=OFF
  -DCMAKE_C_COMPILER=$TRIPLE-gcc-posix -DCMAKE_CXX_COMPILER=$TRIPLE-g++-posix
)

# The toolchain file is kept inside the install: the installed Qt records its
# absolute path and reads it whenever the tool is configured against it.
toolchain_text() {
  cat <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $TRIPLE-gcc-posix)
set(CMAKE_CXX_COMPILER $TRIPLE-g++-posix)
set(CMAKE_RC_COMPILER $TRIPLE-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$TRIPLE)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
}
hash=$( (echo "$QT_VERSION"; printf '%s\n' "${CONFIGURE_OPTIONS[@]}"; toolchain_text) | sha256sum | cut -c1-12)
CACHE=${LX47_QT_CACHE:-$HOME/.cache/lx47}
PREFIX=$CACHE/qt-$QT_VERSION-mingw64-$hash

if [ "${1:-}" = --path ]; then echo "$PREFIX"; exit 0; fi
if [ -f "$PREFIX/.complete" ]; then
  echo "qt-windows: Qt $QT_VERSION for Windows is cached in $PREFIX"
  echo "$PREFIX"
  exit 0
fi

start=$(date +%s)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
missing=""
for p in g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build xz-utils dpkg-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "qt-windows: installing$missing"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

work=$CACHE/work-$QT_VERSION-$hash
mkdir -p "$CACHE"
keep_work=0
trap '[ $keep_work = 1 ] || rm -rf "$work"' EXIT
if [ -f "$work/.configured" ] && [ -f "$PREFIX/mingw-w64-toolchain.cmake" ]; then
  echo "qt-windows: going on with the build a run before stopped in $work"
else
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial" "$work/src"

# -------------------------------------------------------------- the source
# A deb-src entry of our own, for this run only: apt reads it from a private
# sources list and keeps its lists and downloads in the work folder.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
# The Debian mirror the system uses (its main archive, not the security one).
mirror=${LX47_DEBIAN_MIRROR:-$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
         grep -oE 'https?://[^ ]+/debian/?( |$)' | head -n 1 | tr -d ' ' || true)}
mirror=${mirror:-http://deb.debian.org/debian}
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $codename main" >"$work/apt/sources.list"
apt_opts=(-o Dir::Etc::SourceList="$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
          -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt"
          -o Dir::Cache::archives="$work/apt/archives" -o APT::Sandbox::User=root)
echo "qt-windows: fetching the source of qt6-base $QT_VERSION from $mirror"
apt-get "${apt_opts[@]}" update -qq
(cd "$work/src" && apt-get "${apt_opts[@]}" source --download-only -qq "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)" ||
                   apt-get "${apt_opts[@]}" source --download-only -qq qt6-base)
tarball=$(ls "$work"/src/qt6-base_"$QT_VERSION"*.orig.tar.* | head -n 1)
want=${TARBALL_SHA256[$QT_VERSION]:-}
got=$(sha256sum "$tarball" | cut -d' ' -f1)
if [ -z "$want" ]; then
  echo "qt-windows: no known checksum for Qt $QT_VERSION; $tarball has SHA-256 $got" >&2
  exit 1
fi
[ "$got" = "$want" ] || { echo "qt-windows: $tarball has SHA-256 $got, expected $want" >&2; exit 1; }
echo "qt-windows: $(basename "$tarball") checked (SHA-256 $got)"
tar -xf "$tarball" -C "$work/src"
srcdir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'qtbase*' | head -n 1)

# ----------------------------------------------------- configure and build
rm -rf "$PREFIX"
mkdir -p "$PREFIX"
toolchain_text >"$PREFIX/mingw-w64-toolchain.cmake"
echo "qt-windows: configuring into $PREFIX"
cmake -S "$srcdir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PREFIX/mingw-w64-toolchain.cmake" \
  -DCMAKE_INSTALL_PREFIX="$PREFIX" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  "${CONFIGURE_OPTIONS[@]}" >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; exit 1; }
touch "$work/.configured"
fi
configured=$(date +%s)
echo "qt-windows: building (about 35 minutes on 2 cores)"
limit=()
[ -n "${LX47_QT_BUILD_SECONDS:-}" ] && limit=(timeout --signal=TERM "$LX47_QT_BUILD_SECONDS")
rc=0
"${limit[@]}" cmake --build "$work/build" --parallel "$(nproc)" >>"$work/build.log" 2>&1 || rc=$?
if [ $rc = 124 ]; then
  keep_work=1
  echo "qt-windows: the build did not finish within $LX47_QT_BUILD_SECONDS s; it is kept in $work and the next run goes on from it"
  exit 75
fi
[ $rc = 0 ] || { tail -60 "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" --strip >"$work/install.log" 2>&1 || { tail -20 "$work/install.log" >&2; exit 1; }
built=$(date +%s)
printf 'Qt %s for %s\nbuilt %s in %d s\n' "$QT_VERSION" "$TRIPLE" "$(date -u +%FT%TZ)" "$((built - start))" >"$PREFIX/.complete"
echo "qt-windows: fetch and configure $((configured - start)) s, build and install $((built - configured)) s, in all $((built - start)) s"
echo "$PREFIX"
