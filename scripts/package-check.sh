#!/bin/sh
# Builds the Debian package, installs it on this machine and starts the
# installed tool on a virtual display with no network but loopback: its
# window must carry the title with the version, and it must quit cleanly
# when asked to. Skipped with LX47_SKIP_PACKAGE=1.
set -eu

case "${1:-}" in
  --in-namespace)
    # A home and runtime folder of its own, so that no stored setting of
    # this machine's user is read or changed.
    ip link set lo up
    HOME=$(mktemp -d); XDG_RUNTIME_DIR=$(mktemp -d); export HOME XDG_RUNTIME_DIR
    unset XDG_CONFIG_HOME
    exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" --on-display "$2" ;;
  --on-display)
    /usr/bin/lx47-config & pid=$!
    found=0
    for i in $(seq 1 100); do   # 10 s at most
      if xwininfo -root -tree 2>/dev/null | grep -qF "\"$2\""; then found=1; break; fi
      sleep 0.1
    done
    kill -TERM "$pid"
    rc=0
    wait "$pid" || rc=$?
    [ "$found" = 1 ] || { echo "package-check: no window titled \"$2\""; exit 1; }
    [ "$rc" = 0 ] || { echo "package-check: the tool exited with $rc on SIGTERM"; exit 1; }
    echo "package-check: the installed tool showed \"$2\" and quit cleanly"
    exit 0 ;;
esac

cd "$(dirname "$0")/.."
if [ "${LX47_SKIP_PACKAGE:-0}" = 1 ]; then
  echo "package-check: skipped (LX47_SKIP_PACKAGE=1)"
  exit 0
fi
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
# The test build is packaged as it is (the tests have no install rules), so
# that CI compiles the tool once.
BUILD=${LX47_BUILD_DIR:-build}
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target lx47-config lx47-sim lx47ctl
rm -f "$BUILD"/lx47-config_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
DEB=$(ls "$BUILD"/lx47-config_*.deb)
echo "package-check: built $(basename "$DEB") ($(du -k "$DEB" | cut -f1) KiB)"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall --no-install-recommends "./$DEB" >/dev/null

for f in /usr/bin/lx47-config /usr/bin/lx47-sim /usr/bin/lx47ctl /usr/share/man/man1/lx47ctl.1 \
         /usr/share/applications/lx47-config.desktop \
         /usr/share/icons/hicolor/scalable/apps/lx47-config.svg \
         /usr/share/icons/hicolor/48x48/apps/lx47-config.png; do
  [ -e "$f" ] || { echo "package-check: $f was not installed"; exit 1; }
done
/usr/bin/lx47-sim --help >/dev/null
desktop-file-validate /usr/share/applications/lx47-config.desktop

VERSION=$(sed -n 's/^project(lx47-config VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(/usr/bin/lx47ctl --version)" = "lx47ctl $VERSION" ] || { echo "package-check: lx47ctl --version is not lx47ctl $VERSION"; exit 1; }
/usr/bin/lx47ctl fields >/dev/null || { echo "package-check: the installed lx47ctl does not run"; exit 1; }
TITLE="Orvane LX47 Configuration Tool  Ver $VERSION"
# A private network namespace: the installed tool sees loopback only.
$SUDO unshare -n "$PWD/scripts/package-check.sh" --in-namespace "$TITLE"
