#!/usr/bin/env bash
# Renders every shipped text effect with cardtool text-effect for docs/text-effects.md:
#   docs/images/text-effects/make_gallery.sh build/bin/cardtool
# Each picture is drawn on the slate blue of the page (--on) so that white highlights and
# glows can be seen; the program itself exports them with alpha.
set -euo pipefail
cardtool=${1:-build/bin/cardtool}
here=$(cd "$(dirname "$0")" && pwd)
styles="$here/../../../data/文字特效"
n=0
for f in "$styles"/*.style; do
  name=$(basename "$f" .style)
  [ "$name" = null ] && out="$here/null.png" || { n=$((n + 1)); out=$(printf '%s/effect-%02d.png' "$here" "$n"); }
  "$cardtool" text-effect --text "新年快乐 Lumo" --font 黑体 --size 小初 --bold --color red \
    --style "$f" --on "#6A84A8" "$out"
  printf '%s\t%s\n' "$(basename "$out")" "$name"
done
