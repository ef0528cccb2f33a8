#!/bin/sh
# Regenerates the pictures of the Flash card templates and the animations shared with the other
# cards: 800x600 scene backgrounds in 贺卡图片/flash/, GIF animations with a transparent background
# in 贺卡图片/flash/ and 贺卡图片/. Needs ImageMagick (convert), python3 and the CJK fonts.
# With the path of a built cardtool as argument it also draws the text decorations (32-bit BMP
# with alpha, drawn with the program's own text effects of 文字特效/) and builds the small Flash
# movies that the interactive templates show (贺卡图片/新春动画.swf, 烟花动画.swf).
# Existing files are kept; delete one to have it made again.
set -eu
cd "$(dirname "$0")"
HEI=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
KAI=/usr/share/fonts/truetype/arphic/ukai.ttc
F=贺卡图片/flash
mkdir -p "$F"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# shapes NAME ARGS... : the MVG of a shape into a temporary file, printed as @FILE for -draw.
shapes() { python3 shapes.py "$@"; }
# newframe: a fresh temporary frame file name in $t.
newframe() { t=$(mktemp -u -p "$TMP" fXXXXXX).png; }
need() { [ -e "$1" ] && return 1; echo "making $1"; return 0; }

# ---- Scene backgrounds, 800x600 ----

if need "$F/春景.jpg"; then  # Spring Festival: red and gold, a 福 diamond, auspicious clouds
  convert -size 800x600 radial-gradient:'#e53935'-'#7f0000' \
    -draw "$(shapes bokeh 800 600 40 3 '#ffd54f')" \
    -draw "$(shapes clouds 40 560 1.3 '#ffca28' 0.85)" -draw "$(shapes clouds 560 575 1.5 '#ffb300' 0.85)" \
    -draw "$(shapes clouds 300 600 1.0 '#ffe082' 0.7)" \
    -fill '#ffd54f' -draw 'polygon 400,150 530,280 400,410 270,280' \
    -fill '#c62828' -draw 'polygon 400,168 512,280 400,392 288,280' \
    -font "$KAI" -pointsize 150 -fill '#ffd54f' -gravity NorthWest -annotate +325+205 '福' \
    -quality 70 -strip "$F/春景.jpg"
fi

if need "$F/梅花.jpg"; then  # winter night: moon, snow and a blossoming plum branch
  convert -size 800x600 gradient:'#0d1b3d'-'#3b5b8c' \
    \( -size 800x600 xc:none -fill '#fffde7' -draw 'circle 640,130 640,190' -blur 0x28 \) -composite \
    -fill '#fffde7' -draw 'circle 640,130 640,178' \
    -draw "$(shapes stars 800 600 180 7)" \
    -fill '#1b2c52' -draw 'polygon 0,600 0,480 140,440 300,500 470,450 640,500 800,460 800,600' \
    -fill '#e8eef7' -draw 'polygon 0,600 0,540 200,520 420,560 620,530 800,550 800,600' \
    -draw "$(shapes plum 20 600 -55 520 11 '#ffc1d6' '#f7c948' '#2b1408' 34)" \
    -quality 70 -strip "$F/梅花.jpg"
fi

if need "$F/生日派对.jpg"; then  # birthday party: bunting, confetti and light spots
  convert -size 800x600 gradient:'#6a1b9a'-'#f06292' \
    -draw "$(shapes bokeh 800 600 30 5)" -draw "$(shapes confetti 800 600 160 9)" \
    -draw "$(shapes bunting 800 10 12 70)" \
    -quality 70 -strip "$F/生日派对.jpg"
fi

if need "$F/生日烛光.jpg"; then  # a cake in warm candle light
  convert -size 800x600 gradient:'#2b1a14'-'#7a3b22' \
    -draw "$(shapes bokeh 800 600 45 13 '#ffcc80,#ffe0b2,#ffab91')" \
    -fill '#5d4037' -draw 'rectangle 0,520 800,600' -fill '#4e342e' -draw 'rectangle 0,515 800,522' \
    -fill '#fffaf0' -draw 'roundrectangle 220,360 580,520 18,18' \
    -fill '#f48fb1' -draw 'rectangle 220,410 580,436' -fill '#ec407a' -draw 'rectangle 220,480 580,492' \
    -fill '#fff3e0' -draw 'roundrectangle 270,280 530,365 14,14' -fill '#f8bbd0' -draw 'rectangle 270,310 530,324' \
    -draw "$(shapes heart 330 345 26 '#e91e63')" -draw "$(shapes heart 470 345 26 '#e91e63')" \
    -draw "$(shapes star 400 338 16 7 '#ffd54f')" \
    -fill '#81d4fa' -draw 'rectangle 322,220 334,282' -draw 'rectangle 394,210 406,282' -draw 'rectangle 466,220 478,282' \
    \( -size 800x600 xc:none -fill '#ffcc80' -draw 'circle 328,200 328,236' -draw 'circle 400,190 400,226' \
       -draw 'circle 472,200 472,236' -blur 0x14 \) -composite \
    -fill '#ffb300' -draw 'ellipse 328,204 7,14 0,360' -draw 'ellipse 400,194 7,14 0,360' -draw 'ellipse 472,204 7,14 0,360' \
    -fill '#fff8e1' -draw 'ellipse 328,208 3,7 0,360' -draw 'ellipse 400,198 3,7 0,360' -draw 'ellipse 472,208 3,7 0,360' \
    -quality 70 -strip "$F/生日烛光.jpg"
fi

if need "$F/中秋夜空.jpg"; then  # Mid-Autumn night: full moon over hills and water
  convert -size 800x600 gradient:'#07122b'-'#22406e' -draw "$(shapes stars 800 600 140 17 0.6)" \
    \( -size 800x600 xc:none -fill '#fff3c4' -draw 'circle 560,190 560,320' -blur 0x40 \) -composite \
    -fill '#fff6d5' -draw 'circle 560,190 560,300' \
    -fill '#f1e2a9' -draw 'circle 520,160 520,178' -draw 'circle 600,230 600,242' -draw 'circle 585,150 585,158' \
    -draw "$(shapes clouds 430 260 1.1 '#9fb3d1' 0.55)" -draw "$(shapes clouds 80 150 0.9 '#7f95ba' 0.4)" \
    -fill '#101d3a' -draw 'polygon 0,450 90,380 170,420 260,350 380,430 470,400 560,440 660,390 800,430 800,470 0,470' \
    -fill '#14254a' -draw 'rectangle 0,465 800,600' \
    -stroke '#fff3c4' -strokewidth 3 -draw 'line 520,490 600,490' -draw 'line 500,515 620,515' \
    -draw 'line 530,540 590,540' -draw 'line 545,565 575,565' -stroke none \
    -quality 70 -strip "$F/中秋夜空.jpg"
fi

if need "$F/桂花.jpg"; then  # osmanthus in bloom and a mooncake
  convert -size 800x600 gradient:'#fff4da'-'#f3c57a' -draw "$(shapes bokeh 800 600 25 21 '#ffffff,#fff8e1')" \
    -draw "$(shapes osmanthus 800 0 150 620 23)" \
    -fill '#a0522d' -draw 'circle 600,470 600,570' -fill '#c77c3e' -draw 'circle 600,470 600,555' \
    -fill none -stroke '#a0522d' -strokewidth 4 -draw 'circle 600,470 600,535' -stroke none \
    -font "$KAI" -pointsize 60 -fill '#8b4513' -gravity NorthWest -annotate +570+432 '月' \
    -quality 70 -strip "$F/桂花.jpg"
fi

if need "$F/浪漫星空.jpg"; then  # a starry night with a heart of stars
  convert -size 800x600 gradient:'#12042b'-'#5a1a66' -draw "$(shapes stars 800 600 220 29)" \
    -draw "$(shapes bokeh 800 600 18 31 '#f8bbd0,#e1bee7')" \
    \( -size 800x600 xc:none -fill '#f48fb1' -draw "$(shapes heart 400 300 230 '#f48fb1' 0.5)" -blur 0x30 \) -composite \
    -draw "$(shapes star_heart 400 300 240 40 37)" \
    -quality 70 -strip "$F/浪漫星空.jpg"
fi

if need "$F/玫瑰花海.jpg"; then  # pink light and floating hearts
  convert -size 800x600 gradient:'#ffd1dc'-'#d81b60' -draw "$(shapes bokeh 800 600 40 41)" \
    -draw "$(shapes hearts 800 600 38 43)" \
    -quality 70 -strip "$F/玫瑰花海.jpg"
fi

if need "$F/感恩花园.jpg"; then  # thanks: a bouquet in warm light
  convert -size 800x600 gradient:'#fff8ec'-'#ffc987' -draw "$(shapes bokeh 800 600 35 47 '#ffffff,#fff3e0,#ffe0b2')" \
    -draw "$(shapes hearts 800 600 14 53 '#ffab91,#ffccbc,#ffffff')" \
    -draw "$(shapes bouquet 600 590 1.0 59)" \
    -quality 70 -strip "$F/感恩花园.jpg"
fi

# ---- GIF animations with a transparent background ----

# gif OUT DELAY FRAME_FILES... : joins frames into a looping animation.
gif() { out=$1 delay=$2; shift 2; convert -delay "$delay" -loop 0 -dispose background "$@" -layers Optimize "$out"; }

if need "$F/灯笼.gif"; then  # a red lantern swinging on its string
  frames=""
  for a in -8 -5 0 5 8 5 0 -5; do
    convert -size 90x130 xc:none -draw "push graphic-context translate 45,0 rotate $a translate -45,0
      stroke '#8d6e63' stroke-width 2 line 45,0 45,16 stroke none
      fill '#ffb300' rectangle 30,14 60,22 rectangle 32,98 58,106
      fill '#d32f2f' ellipse 45,60 36,38 0,360
      fill '#ff7043' ellipse 45,60 20,34 0,360
      fill none stroke '#b71c1c' stroke-width 2 ellipse 45,60 28,38 0,360 ellipse 45,60 12,38 0,360 stroke none
      fill '#ffd54f' rectangle 43,106 47,128 rectangle 36,108 39,124 rectangle 51,108 54,124
      pop graphic-context" "$TMP/lantern$a.png"
    frames="$frames $TMP/lantern$a.png"
  done
  gif "$F/灯笼.gif" 12 $frames
fi

if need "$F/烟花.gif"; then  # a firework bursting and fading
  frames=""
  i=0
  for step in 1 2 3 4 5 6 7 8; do
    r=$((8 * step + 8))
    case $step in 6) c1='#e6a800' c2='#c2185b' c3='#0288d1' ;; 7) c1='#a66f00' c2='#880e4f' c3='#01579b' ;;
      8) c1='#5c3d00' c2='#4a0727' c3='#002f56' ;; *) c1='#ffd54f' c2='#ff4081' c3='#40c4ff' ;; esac
    convert -size 140x140 xc:none -draw "$(shapes burst 70 70 $r 16 "$c1" 0.45 3)" \
      -draw "$(shapes burst 70 70 $((r * 7 / 10)) 12 "$c2" 0.3 3)" \
      -draw "$(shapes burst 70 70 $((r * 4 / 10 + 2)) 8 "$c3" 0.2 2)" "$TMP/fw$i.png"
    frames="$frames $TMP/fw$i.png"
    i=$((i + 1))
  done
  gif "$F/烟花.gif" 10 $frames
fi

if need 贺卡图片/气球.gif; then  # balloons bobbing
  frames=""
  for dy in 0 2 4 6 6 4 2 0; do
    newframe
    convert -size 110x170 xc:none \
      -stroke '#eeeeee' -strokewidth 1.5 -draw "line 35,$((70 + dy)) 55,168 line 78,$((62 + 6 - dy)) 55,168" -stroke none \
      -fill '#e53935' -draw "ellipse 35,$((40 + dy)) 26,32 0,360" -fill '#ff8a80' -draw "ellipse 26,$((28 + dy)) 6,9 0,360" \
      -fill '#e53935' -draw "polygon 31,$((71 + dy)) 39,$((71 + dy)) 35,$((66 + dy))" \
      -fill '#fdd835' -draw "ellipse 78,$((38 + 6 - dy)) 24,30 0,360" -fill '#fff59d' -draw "ellipse 70,$((26 + 6 - dy)) 5,8 0,360" \
      -fill '#fdd835' -draw "polygon 74,$((67 + 6 - dy)) 82,$((67 + 6 - dy)) 78,$((62 + 6 - dy))" "$t"
    frames="$frames $t"
  done
  gif 贺卡图片/气球.gif 14 $frames
fi

if need 贺卡图片/跳动爱心.gif; then  # a beating heart
  frames=""
  for s in 60 66 72 78 72 66 60 58; do
    newframe
    convert -size 100x100 xc:none -draw "$(shapes heart 50 52 $s '#e91e63')" \
      -draw "$(shapes heart 42 42 $((s / 5)) '#f8bbd0' 0.9)" "$t"
    frames="$frames $t"
  done
  gif 贺卡图片/跳动爱心.gif 9 $frames
fi

if need 贺卡图片/孔明灯.gif; then  # a sky lantern with a flickering light
  frames=""
  for c in '#ffb74d' '#ffcc80' '#ffe0b2' '#ffcc80' '#ffa726' '#ffcc80'; do
    newframe
    convert -size 70x100 xc:none -fill '#ef6c00' -draw 'polygon 12,8 58,8 50,78 20,78' \
      -fill "$c" -draw 'polygon 18,14 52,14 46,72 24,72' -fill '#5d4037' -draw 'rectangle 22,78 48,82' \
      -fill '#ffeb3b' -draw 'ellipse 35,90 4,7 0,360' "$t"
    frames="$frames $t"
  done
  gif 贺卡图片/孔明灯.gif 12 $frames
fi

if need 贺卡图片/蜡烛.gif; then  # a birthday candle
  frames=""
  for fl in "7,16" "6,18" "8,15" "6,17" "7,19" "8,16"; do
    newframe
    convert -size 40x120 xc:none -fill '#81d4fa' -draw 'rectangle 14,44 26,118' \
      -fill '#ffffff' -draw 'rectangle 14,60 26,66 rectangle 14,84 26,90 rectangle 14,108 26,114' \
      -fill '#ff9800' -draw "ellipse 20,26 $fl 0,360" -fill '#fff59d' -draw 'ellipse 20,31 3,8 0,360' "$t"
    frames="$frames $t"
  done
  gif 贺卡图片/蜡烛.gif 10 $frames
fi

# ---- With cardtool: text decorations and the small Flash movie ----
[ $# -ge 1 ] || exit 0
CARDTOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")

# deco OUT TEXT FONT SIZE COLOUR STYLE : a text decoration as a 32-bit BMP with alpha.
deco() {
  need "$F/$1" || return 0
  "$CARDTOOL" text-effect --text "$2" --font "$3" --size "$4" --color "$5" --bold --style "$6" "$TMP/deco.png"
  convert "$TMP/deco.png" -define bmp:format=bmp4 "BMP:$F/$1"
}
deco 恭贺新春.bmp 恭贺新春 隶书 60 '#ffd54f' 金色浮雕
deco 万事如意.bmp '万事如意 阖家欢乐' 隶书 36 '#ffeb3b' 黄字红边加投影
deco 梅开五福.bmp '梅开五福 竹报平安' 隶书 34 '#fff59d' 白边黄光
deco 生日快乐.bmp 生日快乐 黑体 64 '#ff4081' 糖果条纹
deco 心想事成.bmp '心想事成 岁岁平安' 隶书 34 '#ffffff' 粉紫渐变描边
deco 许个心愿.bmp '许个心愿吧' 隶书 36 '#fff59d' 白边黄光
deco 花好月圆.bmp 花好月圆 隶书 60 '#fff3c4' 白边黄光
deco 千里婵娟.bmp '但愿人长久 千里共婵娟' 隶书 32 '#ffffff' 柔和投影
deco 中秋快乐.bmp '中秋快乐' 隶书 44 '#ffca28' 金色浮雕
deco 我爱你.bmp 我爱你 隶书 72 '#ff4081' 粉紫渐变描边
deco 执子之手.bmp '执子之手 与子偕老' 隶书 36 '#ffffff' 粉紫渐变描边
deco 谢谢你.bmp 谢谢你 隶书 72 '#ff7043' 金色浮雕
deco 感恩有你.bmp '感恩有你 一路同行' 隶书 36 '#8d4a2f' 柔和投影
deco 一生一世.bmp '一生一世 只爱你' 隶书 36 '#ffffff' 柔和投影

# The Flash movies of the interactive templates, built from small projects of their own.
for movie in 新春动画 烟花动画; do
  need 贺卡图片/$movie.swf || continue
  python3 make_templates.py --movie $movie "$TMP/$movie.lmflash"
  "$CARDTOOL" build-flash "$TMP/$movie.lmflash" "$TMP/$movie.swf" >/dev/null
  cp "$TMP/$movie.swf" 贺卡图片/$movie.swf
done
