#!/usr/bin/env bash
# Builds the Debian package, installs it with apt, starts the card maker with its menu entry's
# command under a virtual screen (as an ordinary user), then removes the package and checks
# that nothing of it is left. Needs root or sudo, as the install script does.
# Usage: package_test.sh BUILD_DIR [SCREENSHOT.png]
set -euo pipefail
BUILD="$(cd "$1" && pwd)"
SHOT="${2:-}"
fail() { echo "package_test: FAIL: $*" >&2; exit 1; }
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || fail "installing the package needs root or password-less sudo"
  SUDO="sudo"
fi
if dpkg-query -W -f='${Status}' lmcard 2>/dev/null | grep -q 'install ok installed'; then
  fail "lmcard is installed already; remove it first (apt remove lmcard)"
fi

WORK="$(mktemp -d "${TMPDIR:-/tmp}/lmcard-package-XXXXXX")"
cleanup() {
  if dpkg-query -W -f='${Status}' lmcard 2>/dev/null | grep -q 'install ok installed'; then
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq lmcard >/dev/null 2>&1 || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT
chmod 755 "$WORK"

# The package: dependencies computed, programs without debug information, the install layout.
cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK/pkg" >"$WORK/cpack.log" 2>&1 \
  || { cat "$WORK/cpack.log" >&2; fail "cpack"; }
DEB="$(ls "$WORK"/pkg/lmcard_*.deb)"
depends="$(dpkg-deb -f "$DEB" Depends)"
for lib in libqt6widgets6 libjpeg62-turbo libgif7 libc6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
dpkg-deb -x "$DEB" "$WORK/root"
for p in lmcard lmflashcard cardtool exe1.exe exe2.exe exe3.exe Flash.dll; do
  f="$WORK/root/usr/lib/lmcard/$p"
  [ -f "$f" ] || fail "the package lacks $p"
  if readelf -S "$f" | grep -q '\.debug_'; then fail "$p carries debug information"; fi
done
outside="$(cd "$WORK/root" && find . -mindepth 2 -maxdepth 2 | grep -v -e '^./usr/bin$' -e '^./usr/lib$' -e '^./usr/share$' || true)"
[ -z "$outside" ] || fail "files outside /usr/bin, /usr/lib, /usr/share: $outside"

# Installed with apt, as a user would.
(cd "$WORK/pkg" && $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$(basename "$DEB")" \
  >"$WORK/apt.log" 2>&1) || { cat "$WORK/apt.log" >&2; fail "apt install"; }
dpkg -L lmcard | sort >"$WORK/files"
desktop-file-validate /usr/share/applications/lmcard.desktop || fail "lmcard.desktop"
command -v lmcard >/dev/null || fail "lmcard is not on the PATH"

# The menu command, under a virtual screen, by an ordinary user with a home of its own.
exec_line="$(sed -n 's/^Exec=//p' /usr/share/applications/lmcard.desktop | sed 's/ %[fFuU]//')"
mkdir -p "$WORK/home"
AS_USER=()
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$WORK/home"
  AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
cat >"$WORK/run.sh" <<EOF
$exec_line >"$WORK/home/titles.txt" 2>"$WORK/home/stderr.txt" &
pid=\$!
sleep 9
import -window root "$WORK/home/shot.png"
wait \$pid
EOF
env -i PATH=/usr/bin:/bin HOME="$WORK/home" TMPDIR="$WORK/home" LANG=C.UTF-8 LMCARD_QUIT_AFTER_MS=12000 \
  "${AS_USER[@]}" xvfb-run -a -s "-screen 0 1024x768x24" bash "$WORK/run.sh" || fail "the menu command failed"
grep -q "Lumo贺卡制作" "$WORK/home/titles.txt" || { cat "$WORK/home/stderr.txt" >&2; fail "no maker window"; }
[ -s "$WORK/home/shot.png" ] || fail "no screenshot"
if [ -n "$SHOT" ]; then cp "$WORK/home/shot.png" "$SHOT"; fi

# Removed, nothing is left.
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq lmcard >/dev/null || fail "apt remove"
left=""
while read -r f; do
  if [ -d "$f" ] && [ ! -L "$f" ]; then continue; fi  # folders shared with other packages
  case "$f" in /usr/lib/lmcard*|/usr/bin/*|/usr/share/applications/*|/usr/share/mime/packages/*|\
               /usr/share/icons/hicolor/*/apps/*|/usr/share/doc/lmcard*)
    [ -e "$f" ] || [ -L "$f" ] && left="$left $f" ;;
  esac
done <"$WORK/files"
[ -z "$left" ] || fail "left behind after remove:$left"
[ ! -e /usr/lib/lmcard ] || fail "/usr/lib/lmcard is still there"
grep -rq x-lmcard /usr/share/mime/packages/ 2>/dev/null && fail "the file types are still registered"
echo "package_test: ok"
