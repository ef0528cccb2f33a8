#!/bin/sh
# Regenerates the program folder's own media: card pictures, a GIF animation, the heart mask,
# greeting boxes, background pictures, icons, greeting texts, background music (MIDI and MP3) and
# sample voices. Needs ImageMagick (convert), the CJK fonts of fonts-wqy-zenhei and
# fonts-arphic-ukai, iconv, python3, timidity with timgm6mb-soundfont, lame, sox and espeak-ng.
# Existing files are kept; delete one to have it made again.
set -eu
cd "$(dirname "$0")"
HEI=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
KAI=/usr/share/fonts/truetype/arphic/ukai.ttc
mkdir -p 贺卡图片 背景音乐 图标 贺词框 贺词 背景图 录音

make() { [ -e "$1" ] && return 0; echo "making $1"; shift_target="$1"; shift; "$@"; }

# Card pictures, 480x360 JPEG: gradient skies with simple shapes and a calligraphy line.
make 贺卡图片/新春红梅.jpg sh -c "convert -size 480x360 gradient:'#b3121b'-'#5c0a0e' \
  -fill '#f4c542' -draw 'circle 400,70 440,70' \
  -stroke '#3a1d0e' -strokewidth 6 -draw 'line 0,330 140,220' -draw 'line 140,220 230,190' -draw 'line 140,220 170,140' \
  -stroke none -fill '#ffd6e0' -draw 'circle 150,210 158,210' -draw 'circle 175,150 183,150' -draw 'circle 220,192 228,192' \
  -draw 'circle 95,262 103,262' -draw 'circle 190,170 196,170' -fill '#ff8fab' -draw 'circle 120,245 127,245' \
  -font $KAI -pointsize 64 -fill '#ffd75e' -annotate +250+300 '迎春' -quality 72 -strip 贺卡图片/新春红梅.jpg"
make 贺卡图片/生日蛋糕.jpg sh -c "convert -size 480x360 gradient:'#ffe3ef'-'#ffb3cf' \
  -fill '#ffffff' -draw 'roundrectangle 140,200 340,320 12,12' -fill '#f48fb1' -draw 'rectangle 140,240 340,258' \
  -fill '#fff3c4' -draw 'roundrectangle 170,150 310,205 10,10' \
  -fill '#7ec8e3' -draw 'rectangle 200,110 208,150' -draw 'rectangle 236,104 244,150' -draw 'rectangle 272,110 280,150' \
  -fill '#ffb300' -draw 'ellipse 204,98 6,12 0,360' -draw 'ellipse 240,92 6,12 0,360' -draw 'ellipse 276,98 6,12 0,360' \
  -font $HEI -pointsize 40 -fill '#c2185b' -annotate +150+60 '生日快乐' -quality 72 -strip 贺卡图片/生日蛋糕.jpg"
make 贺卡图片/中秋明月.jpg sh -c "convert -size 480x360 gradient:'#0b1a3a'-'#25406e' \
  -fill '#fff6cc' -draw 'circle 340,110 400,110' -fill '#f2e4a8' -draw 'circle 320,95 328,95' -draw 'circle 360,130 366,130' \
  -fill '#ffffff' -draw 'point 40,40' -draw 'point 90,80' -draw 'point 150,30' -draw 'point 220,60' -draw 'point 60,140' \
  -fill '#1b2b4a' -draw 'polygon 0,360 0,300 80,270 160,290 260,250 360,285 480,260 480,360' \
  -font $KAI -pointsize 52 -fill '#ffe9a6' -annotate +40+200 '月圆人团圆' -quality 72 -strip 贺卡图片/中秋明月.jpg"
make 贺卡图片/真情爱心.jpg sh -c "convert -size 480x360 gradient:'#ffd1dc'-'#e0527a' \
  -fill '#d81b60' -draw 'path \"M 240,300 C 90,200 120,80 240,140 C 360,80 390,200 240,300 Z\"' \
  -fill '#ff80ab' -draw 'path \"M 240,270 C 150,200 170,120 240,165 C 310,120 330,200 240,270 Z\"' \
  -font $KAI -pointsize 36 -fill '#ffffff' -annotate +150+60 '心心相印' -quality 72 -strip 贺卡图片/真情爱心.jpg"
make 贺卡图片/感恩花束.jpg sh -c "convert -size 480x360 gradient:'#fff8e1'-'#ffe0b2' \
  -stroke '#558b2f' -strokewidth 5 -draw 'line 240,330 200,180' -draw 'line 240,330 240,160' -draw 'line 240,330 285,185' \
  -stroke none -fill '#ef6c00' -draw 'circle 200,170 230,170' -fill '#fdd835' -draw 'circle 240,150 270,150' \
  -fill '#e53935' -draw 'circle 288,175 318,175' -fill '#ffffff' -draw 'circle 200,170 210,170' -draw 'circle 240,150 250,150' \
  -draw 'circle 288,175 298,175' -font $KAI -pointsize 44 -fill '#6d4c41' -annotate +150+70 '谢谢您' -quality 72 -strip 贺卡图片/感恩花束.jpg"

# New Year fireworks: bursts of rays over a night sky (the rays computed by python3, drawn in one -draw).
rays() {
  python3 -c '
import math
out = []
for x, y, r, c in ((120, 110, 60, "#ffca28"), (330, 80, 70, "#ef5350"), (420, 200, 45, "#4fc3f7"), (230, 190, 40, "#ba68c8")):
    out.append("stroke \"%s\"" % c)
    for i in range(16):
        a = i * math.pi / 8
        out.append("line %d,%d %d,%d" % (x + math.cos(a) * r * 0.3, y + math.sin(a) * r * 0.3, x + math.cos(a) * r, y + math.sin(a) * r))
print(" ".join(out))'
}
if [ ! -e 贺卡图片/新年烟花.jpg ]; then
  echo "making 贺卡图片/新年烟花.jpg"
  convert -size 480x360 gradient:'#050a24'-'#1a1f4d' -strokewidth 3 -draw "$(rays)" -stroke none \
    -font $HEI -pointsize 48 -fill '#ffe082' -annotate +130+320 '新年快乐' -quality 72 -strip 贺卡图片/新年烟花.jpg
fi

# Animated GIF: a twinkling star, 8 frames.
make 贺卡图片/闪烁星星.gif sh -c '
  frames=""
  for i in 0 1 2 3 4 5 6 7; do
    r=$(( 20 + (i < 4 ? i : 7 - i) * 6 ))
    convert -size 100x100 xc:none -fill "#ffd54f" \
      -draw "polygon 50,$((50 - r)) $((50 + r / 4)),$((50 - r / 4)) $((50 + r)),50 $((50 + r / 4)),$((50 + r / 4)) 50,$((50 + r)) $((50 - r / 4)),$((50 + r / 4)) $((50 - r)),50 $((50 - r / 4)),$((50 - r / 4))" \
      /tmp/star$$_$i.png
    frames="$frames /tmp/star$$_$i.png"
  done
  convert -delay 12 -loop 0 -dispose background $frames -layers Optimize 贺卡图片/闪烁星星.gif
  rm -f $frames'

# Greeting box: a parchment frame.
make 贺词框/红金贺词框.jpg sh -c "convert -size 360x240 xc:'#fff4d6' \
  -fill none -stroke '#c62828' -strokewidth 10 -draw 'rectangle 5,5 354,234' \
  -stroke '#d4a017' -strokewidth 3 -draw 'rectangle 16,16 343,223' \
  -stroke none -fill '#c62828' -draw 'circle 16,16 24,16' -draw 'circle 343,16 351,16' -draw 'circle 16,223 24,223' -draw 'circle 343,223 351,223' \
  -quality 75 -strip 贺词框/红金贺词框.jpg"

make 贺词框/粉色花边框.jpg sh -c "convert -size 360x240 xc:'#fff0f5' \
  -fill none -stroke '#f48fb1' -strokewidth 8 -draw 'roundrectangle 6,6 353,233 24,24' \
  -stroke '#ffffff' -strokewidth 2 -draw 'roundrectangle 16,16 343,223 18,18' \
  -stroke none -fill '#ec407a' -draw 'circle 36,36 42,36' -draw 'circle 323,36 329,36' -draw 'circle 36,203 42,203' -draw 'circle 323,203 329,203' \
  -quality 75 -strip 贺词框/粉色花边框.jpg"

# Background pictures: a subtle tile and a small loading animation.
make 背景图/006.gif sh -c "convert -size 64x64 xc:'#fbe9e7' -fill '#f8d3cc' -draw 'circle 16,16 20,16' -draw 'circle 48,48 52,48' \
  -fill '#fde0d8' -draw 'circle 48,16 50,16' -draw 'circle 16,48 18,48' 背景图/006.gif"
make 背景图/loading.gif sh -c '
  frames=""
  for i in 0 1 2 3 4 5 6 7; do
    a=$(( i * 45 ))
    convert -size 32x32 xc:white -fill none -stroke "#e0e0e0" -strokewidth 4 -draw "circle 16,16 16,4" \
      -stroke "#d32f2f" -draw "arc 4,4 28,28 $a,$((a + 90))" /tmp/load$$_$i.gif
    frames="$frames /tmp/load$$_$i.gif"
  done
  convert -delay 8 -loop 0 $frames 背景图/loading.gif
  rm -f $frames'

# The Flash builder plays the loading animation from the top of the program folder.
make loading.gif cp 背景图/loading.gif loading.gif

# Icon: a red envelope with a gold character.
make 图标/ICON26.ICO sh -c "convert -size 32x32 xc:none -fill '#c62828' -draw 'roundrectangle 4,1 27,30 4,4' \
  -fill '#d4a017' -draw 'circle 16,12 20,12' -font $HEI -pointsize 11 -fill '#ffd54f' -annotate +11+26 '福' \
  \( +clone -resize 16x16 \) 图标/ICON26.ICO"

# A heart-shaped mask picture: white is cut away, so the card window takes the heart's shape.
# GIF keeps the white exact (a JPEG would blur it).
make 贺卡图片/心形掩饰图.gif sh -c "convert -size 480x420 xc:white -draw \"\$(python3 shapes.py heart 240 222 440 '#d81b60')\" \
  -fill '#ad1457' -draw \"\$(python3 shapes.py heart 240 222 400 '#f06292')\" +antialias -colors 16 贺卡图片/心形掩饰图.gif"

# Two more greeting boxes: moonlit blue and gold, and a green leaf frame.
make 贺词框/月夜贺词框.jpg sh -c "convert -size 360x240 gradient:'#1b2b4a'-'#33507e' \
  -fill none -stroke '#e0c068' -strokewidth 6 -draw 'roundrectangle 6,6 353,233 14,14' \
  -stroke '#f5e6b0' -strokewidth 1 -draw 'roundrectangle 16,16 343,223 10,10' -stroke none \
  -fill '#fff3c4' -draw 'circle 318,44 318,28' -fill '#33507e' -draw 'circle 310,38 310,24' -quality 75 -strip 贺词框/月夜贺词框.jpg"
make 贺词框/清新绿叶框.jpg sh -c "convert -size 360x240 xc:'#f1f8e9' \
  -fill none -stroke '#7cb342' -strokewidth 8 -draw 'rectangle 4,4 355,235' -stroke none \
  -fill '#558b2f' -draw 'ellipse 24,24 18,8 45,405' -draw 'ellipse 336,216 18,8 45,405' \
  -fill '#8bc34a' -draw 'ellipse 40,20 14,6 -20,340' -draw 'ellipse 320,220 14,6 -20,340' -quality 75 -strip 贺词框/清新绿叶框.jpg"

# Two more icons: a heart and a cake.
make 图标/爱心.ico sh -c "convert -size 32x32 xc:none -draw \"\$(python3 shapes.py heart 16 17 30 '#e91e63')\" \( +clone -resize 16x16 \) 图标/爱心.ico"
make 图标/蛋糕.ico sh -c "convert -size 32x32 xc:none -fill '#fff3e0' -draw 'roundrectangle 3,14 28,30 3,3' -fill '#f48fb1' -draw 'rectangle 3,19 28,22' \
  -fill '#4fc3f7' -draw 'rectangle 15,5 17,14' -fill '#ffb300' -draw 'ellipse 16,4 2,3 0,360' \( +clone -resize 16x16 \) 图标/蛋糕.ico"

# Greeting texts in GBK with CR LF line ends.
make 贺词/新年贺词.txt sh -c "printf '%s\r\n' \
  '爆竹声中辞旧岁，梅花香里迎新春。' \
  '愿新的一年里，您身体康健、万事顺遂，' \
  '家中笑语常在，门前福气满盈。' \
  '新春快乐，阖家幸福！' | iconv -f UTF-8 -t GBK > 贺词/新年贺词.txt"
make 贺词/生日贺词.txt sh -c "printf '%s\r\n' \
  '又是一年花开时，烛光映着你的笑脸。' \
  '愿你在新的一岁里，心有所向，行有所得，' \
  '眼里有星光，身边有知己。' \
  '生日快乐，岁岁年年皆如意！' | iconv -f UTF-8 -t GBK > 贺词/生日贺词.txt"

make 贺词/中秋贺词.txt sh -c "printf '%s\r\n' \
  '但愿人长久，千里共婵娟。' \
  '又是一年月圆时，桂花飘香，' \
  '愿这轮明月带去我的思念与祝福：' \
  '花好月圆，人寿年丰，中秋快乐！' | iconv -f UTF-8 -t GBK > 贺词/中秋贺词.txt"
make 贺词/感谢贺词.txt sh -c "printf '%s\r\n' \
  '谢谢你，在我需要的时候一直都在。' \
  '那些温暖的话语和默默的帮助，' \
  '我都记在心里。' \
  '愿你平安喜乐，所有的好都与你相伴！' | iconv -f UTF-8 -t GBK > 贺词/感谢贺词.txt"
make 贺词/春节贺词.txt sh -c "printf '%s\r\n' \
  '红灯笼高高挂，春联贴满门。' \
  '在这辞旧迎新的日子里，' \
  '祝您和家人新春吉祥，身体健康，' \
  '事业兴旺，年年有余！' | iconv -f UTF-8 -t GBK > 贺词/春节贺词.txt"
make 贺词/爱情贺词.txt sh -c "printf '%s\r\n' \
  '认识你之后，平凡的日子也有了光。' \
  '想陪你看春天的花、夏夜的星，' \
  '秋天的月亮和冬天的雪。' \
  '余生很长，我想每一天都和你一起过。' | iconv -f UTF-8 -t GBK > 贺词/爱情贺词.txt"

# Background music: three original MIDI tunes (7.mid is the design file's fallback).
[ -e 背景音乐/7.mid ] && [ -e 背景音乐/温馨小曲.mid ] && [ -e 背景音乐/月光小夜曲.mid ] || python3 make_midi.py 背景音乐

# MP3 versions for the Flash cards: each tune rendered twice over by TiMidity++ with the TimGM6mb
# sound font, 22050 Hz mono, 48 kbit/s (a rate the Flash movie can describe).
mp3() {
  [ -e "背景音乐/$2" ] && return 0
  echo "making 背景音乐/$2"
  t=$(mktemp -d)
  printf 'soundfont /usr/share/sounds/sf2/TimGM6mb.sf2\n' > "$t/timidity.cfg"
  timidity -c "$t/timidity.cfg" -Ow -s 22050 --output-mono -o "$t/once.wav" "背景音乐/$1" >/dev/null
  sox "$t/once.wav" "$t/once.wav" "$t/twice.wav" fade 0.2 -0 2 norm -2
  lame --quiet -b 48 -m m "$t/twice.wav" "背景音乐/$2"
  rm -rf "$t"
}
mp3 7.mid 新春序曲.mp3
mp3 温馨小曲.mid 温馨小曲.mp3
mp3 月光小夜曲.mid 月光小夜曲.mp3

# Sample voices spoken by eSpeak NG (Mandarin), in the recorder's format: 8-bit mono 11025 Hz.
voice() {
  [ -e "录音/$1" ] && return 0
  echo "making 录音/$1"
  t=$(mktemp -d)
  espeak-ng -v cmn -s 130 -p 50 -w "$t/v.wav" "$2"
  sox "$t/v.wav" -r 11025 -c 1 -b 8 "录音/$1" norm -3
  rm -rf "$t"
}
voice 新春祝福.wav "新春快乐！祝你万事如意，阖家幸福。"
voice 生日祝福.wav "祝你生日快乐，天天开心！"

# A short wind-chime sound for the sound elements of the templates (8 kHz mono, 8 bit).
make 录音/风铃.wav sh -c 'mkdir -p 录音 && sox -n -r 8000 -c 1 -b 8 录音/风铃.wav \
  synth 1.2 pluck E6 pluck B6 pluck G6 delay 0 0.15 0.3 remix - fade 0 1.2 0.8 gain -n -3'
