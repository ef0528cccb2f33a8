#!/usr/bin/env bash
# Installs the suite into a fresh prefix, makes it read-only, and works with it as an ordinary
# user: builds an interactive, an ordinary and a Flash card, saves a template and finds it in
# the gallery beside the shipped ones. Nothing may be written under the prefix. Then the menu
# entries are validated and a user-level install of them answers for every card file type.
# Usage: install_test.sh BUILD_DIR   (CI runs it as root; the user is then "nobody")
set -euo pipefail
BUILD="$(cd "$1" && pwd)"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/lmcard-install-XXXXXX")"
fail() { tail -n 20 "$WORK/log" >&2 2>/dev/null; echo "install_test: FAIL: $*" >&2; exit 1; }
cleanup() { chmod -R u+w "$WORK" 2>/dev/null || true; rm -rf "$WORK"; }
trap cleanup EXIT
chmod 755 "$WORK"
PREFIX="$WORK/prefix"
PROG="$PREFIX/lib/lmcard"

# 1. Install.
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
for p in lmcard lmflashcard cardtool; do
  [ -L "$PREFIX/bin/$p" ] || fail "bin/$p is not a link"
  [ "$(readlink -f "$PREFIX/bin/$p")" = "$(readlink -f "$PROG/$p")" ] || fail "bin/$p does not lead to $PROG/$p"
done
for f in exe1.exe exe2.exe exe3.exe Flash.dll default.txt FORM1.obj FORM3.obj FORM4.obj Option.ini \
         template/默认贺卡.lmcard2 贺卡图片 贺卡成品 ruffle/ruffle.js; do
  [ -e "$PROG/$f" ] || fail "the program folder lacks $f"
done
top="$(cd "$PREFIX" && ls | tr '\n' ' ')"
[ "$top" = "bin lib share " ] || fail "the prefix holds more than bin, lib and share: $top"
leftovers="$(find "$PREFIX" \( -name '*_tests*' -o -name '*.ini' ! -name Option.ini -o -name '~*' \
  -o -name 'TestCard.*' -o -name 'make_*' \) -print)"
[ -z "$leftovers" ] || fail "test or build leftovers installed: $leftovers"

# 2. Read-only, and what it holds now.
chmod -R a-w "$PREFIX"
listing() { (cd "$PREFIX" && find . -printf '%p %s %T@ %m\n' | sort); }
listing >"$WORK/before"

# 3. An ordinary user with a home of its own.
HOME_DIR="$WORK/home"
TMP_DIR="$WORK/tmp"
mkdir -p "$HOME_DIR" "$TMP_DIR"
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$HOME_DIR" "$TMP_DIR"
  AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  AS_USER=()
fi
user() {
  env -i PATH=/usr/bin:/bin HOME="$HOME_DIR" TMPDIR="$TMP_DIR" LANG=C.UTF-8 "${AS_USER[@]}" "$@" 2>>"$WORK/log"
}
TOOL="$PREFIX/bin/cardtool"
T="$PROG/template"
user "$TOOL" build "$T/默认贺卡.lmcard2" "$HOME_DIR/y.exe" --yes >/dev/null || fail "interactive card build"
user "$TOOL" build "$T/生日快乐.lmcard2" "$HOME_DIR/b.crd2" --yes >/dev/null || fail "interactive card file build"
user "$TOOL" build-ordinary "$T/新年快乐.lmcard" "$HOME_DIR/o.crd1" --yes >/dev/null || fail "ordinary card build"
user "$TOOL" build-flash "$T/新春祝福.lmflash" "$HOME_DIR/f.swf" --yes >/dev/null || fail "Flash card build"
for c in y.exe b.crd2 o.crd1; do
  user "$TOOL" inspect "$HOME_DIR/$c" >/dev/null || fail "$c does not read back"
done
user "$TOOL" swf-dump "$HOME_DIR/f.swf" >/dev/null || fail "f.swf does not read back"
[ -f "$HOME_DIR/f.html" ] || fail "the Flash card has no page"
# The builders' work files went to the user's own temporary folder.
[ -f "$TMP_DIR/lmcard-65534/~tmpset.obj" ] || [ -f "$TMP_DIR/lmcard-$(id -u)/~tmpset.obj" ] \
  || fail "no work files in the user's temporary folder"

# 4. A template saved through the core goes to the user's data folder.
saved="$(user "$TOOL" save-template "$T/默认贺卡.lmcard2" 我的贺卡)" || fail "save-template"
[ "$saved" = "$HOME_DIR/.local/share/lmcard/template/我的贺卡.lmcard2" ] || fail "template saved at $saved"

# 5. The gallery lists it beside the shipped ones.
list="$(user "$TOOL" templates)"
grep -qxF "$(printf 'interactive\t我的贺卡\t%s' "$saved")" <<<"$list" || fail "the saved template is not listed"
grep -qxF "$(printf 'interactive\t默认贺卡\t%s' "$T/默认贺卡.lmcard2")" <<<"$list" || fail "shipped template missing"
grep -q "^ordinary	新年快乐	" <<<"$list" && grep -q "^flash	新春祝福	" <<<"$list" || fail "pages missing"

# 6. Nothing was written under the prefix.
listing >"$WORK/after"
diff -u "$WORK/before" "$WORK/after" >&2 || fail "files under the prefix changed"

# Menu entries, and a user-level install of them that answers for every type.
chmod -R u+w "$PREFIX"
for d in "$PREFIX"/share/applications/*.desktop; do
  desktop-file-validate "$d" || fail "$(basename "$d") is not a valid menu entry"
done
grep -qx "Exec=$PREFIX/bin/lmcard %f" "$PREFIX/share/applications/lmcard.desktop" || fail "lmcard's command"
XDG="$WORK/xdg"
mkdir -p "$XDG/applications" "$XDG/mime/packages"
cp "$PREFIX"/share/applications/*.desktop "$XDG/applications/"
cp "$PREFIX/share/mime/packages/lmcard.xml" "$XDG/mime/packages/"
XDG_DATA_HOME="$XDG" update-mime-database "$XDG/mime"
update-desktop-database "$XDG/applications"
query() {
  env -i PATH=/usr/bin:/bin HOME="$WORK/xdg-home" XDG_DATA_HOME="$XDG" XDG_DATA_DIRS="$XDG" \
    XDG_CONFIG_HOME="$WORK/xdg-config" xdg-mime query default "$1"
}
for pair in x-lmcard-design:lmcard x-lmcard-ordinary-template:lmcard x-lmcard-flash-template:lmcard \
            x-lmcard-ordinary-card:lmcard-exe1 x-lmcard-interactive-card:lmcard-exe2 \
            x-lmcard-flash-card:lmcard-exe3; do
  got="$(query "application/${pair%%:*}")"
  [ "$got" = "${pair#*:}.desktop" ] || fail "application/${pair%%:*} opens with '$got', not ${pair#*:}.desktop"
done
for ext in crd1 crd2 crd3 lmcard lmcard2 lmflash; do
  grep -q "pattern=\"\\*\\.$ext\"" "$XDG/mime/packages/lmcard.xml" || fail "no type for .$ext"
  grep -q "\\*\\.$ext\$" "$XDG/mime/globs" || fail "the mime database has no .$ext"
done
echo "install_test: ok"
