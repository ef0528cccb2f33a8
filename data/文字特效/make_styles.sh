#!/usr/bin/env bash
# Writes the program's text effects (the ".style" files of this folder) from the readable
# descriptions below, with cardtool style-write. Run after changing a description:
#   data/文字特效/make_styles.sh build/bin/cardtool
set -euo pipefail
cardtool=${1:-build/bin/cardtool}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

style() {  # style NAME [FOLDER]  (description on stdin)
  cat > "$tmp/desc"
  "$cardtool" style-write "$tmp/desc" "${2:-$here}/$1.style"
}

# No effect at all: the choice "不添加任何文字特效", read from the program folder itself.
style null "$here/.." <<'EOF'
[Layer]
Version = 0x0103
Opacity = 1.0
BlendMode = 0
EffectsKeepOpacity = 0
EOF

style 黄字红边加投影 <<'EOF'
[ColorOverlay]
On = 1
Color = #FFE600
Opacity = 100
[Stroke]
On = 1
Size = 3
Opacity = 100
Position = 0
Color = #E00000
[DropShadow]
On = 1
Color = #000000
Opacity = 75
Size = 3
Offset = 4 4
EOF

style 金色浮雕 <<'EOF'
[GradientOverlay]
On = 1
Opacity = 100
Type = 1
Stops = #FFF6B0:0.45 #E0A800:0.25 #FFE070:0.3 #A06800:0
[Bevel]
On = 1
Style = 0
Size = 3
HighlightColor = #FFFFFF
HighlightOpacity = 80
ShadowColor = #603000
ShadowOpacity = 70
Offset = 2 2
[Stroke]
On = 1
Size = 1
Opacity = 100
Color = #7A4A00
[DropShadow]
On = 1
Opacity = 50
Size = 3
Offset = 2 2
EOF

style 霓虹蓝光 <<'EOF'
[ColorOverlay]
On = 1
Color = #E8FFFF
Opacity = 100
[InnerGlow]
On = 1
Color = #00C8FF
Opacity = 90
Size = 3
[OuterGlow]
On = 1
BlendMode = 16
Color = #0090FF
Opacity = 100
Spread = 1
Size = 8
EOF

style 火焰文字 <<'EOF'
[GradientOverlay]
On = 1
Opacity = 100
Type = 1
Stops = #FFFF80:0.35 #FFB000:0.35 #E02000:0
[OuterGlow]
On = 1
Color = #FF6000
Opacity = 90
Spread = 2
Size = 7
[InnerShadow]
On = 1
Color = #A00000
Opacity = 60
Size = 3
Offset = 0 -2
EOF

style 彩虹渐变 <<'EOF'
[GradientOverlay]
On = 1
Opacity = 100
Type = 0
Stops = #FF0000:0.2 #FF9900:0.2 #FFEE00:0.2 #00CC33:0.2 #0099FF:0.2 #8833CC:0
[Stroke]
On = 1
Size = 2
Opacity = 100
Color = #FFFFFF
[DropShadow]
On = 1
Opacity = 55
Size = 3
Offset = 2 2
EOF

style 冰雪晶莹 <<'EOF'
[GradientOverlay]
On = 1
Opacity = 100
Type = 1
Stops = #FFFFFF:0.5 #BDEBFF:0.5 #5EC8F2:0
[InnerShadow]
On = 1
Color = #1070B0
Opacity = 70
Size = 2
Offset = 1 1
[Stroke]
On = 1
Size = 2
Opacity = 100
Color = #3A9AD9
[OuterGlow]
On = 1
Color = #C8F0FF
Opacity = 80
Size = 6
EOF

style 粉紫渐变描边 <<'EOF'
[ColorOverlay]
On = 1
Color = #FFFFFF
Opacity = 100
[Stroke]
On = 1
Size = 4
Opacity = 100
Position = 0
Color = #FF66AA
[StrokeGradient]
On = 1
Type = 1
Stops = #FF5FA8:0.5 #B040E0:0.5 #6020C0:0
[DropShadow]
On = 1
Color = #600060
Opacity = 45
Size = 4
Offset = 2 3
EOF

style 立体阴影 <<'EOF'
[ColorOverlay]
On = 1
Color = #FF4040
Opacity = 100
[DropShadow]
On = 1
Color = #400000
Opacity = 100
Size = 0
Offset = 3 3
[Stroke]
On = 1
Size = 1
Opacity = 100
Color = #400000
EOF

style 白边黄光 <<'EOF'
[Stroke]
On = 1
Size = 3
Opacity = 100
Color = #FFFFFF
[OuterGlow]
On = 1
Color = #FFCC00
Opacity = 100
Spread = 2
Size = 9
EOF

style 红白格子 <<'EOF'
[PatternOverlay]
On = 1
Opacity = 100
Generate = checker 8 8 #FFFFFF #E01010
[Stroke]
On = 1
Size = 2
Opacity = 100
Color = #800000
[DropShadow]
On = 1
Opacity = 50
Size = 3
Offset = 2 2
EOF

style 糖果条纹 <<'EOF'
[PatternOverlay]
On = 1
Opacity = 100
Generate = stripes 10 10 #FFFFFF #FF5090
[Bevel]
On = 1
Style = 0
Size = 3
HighlightColor = #FFFFFF
HighlightOpacity = 70
ShadowColor = #900040
ShadowOpacity = 50
Offset = 2 2
[Stroke]
On = 1
Size = 2
Opacity = 100
Color = #D0206A
EOF

style 银色金属 <<'EOF'
[GradientOverlay]
On = 1
Opacity = 100
Type = 4
Angle = 90
Stops = #FFFFFF:0.3 #A0A4AC:0.2 #E8EAF0:0.25 #70747C:0.25 #C0C4CC:0
[Bevel]
On = 1
Style = 0
Size = 2
HighlightColor = #FFFFFF
HighlightOpacity = 90
ShadowColor = #202020
ShadowOpacity = 60
Offset = 1 1
[Stroke]
On = 1
Size = 1
Opacity = 100
Color = #404448
[DropShadow]
On = 1
Opacity = 40
Size = 2
Offset = 2 2
EOF

style 柔和投影 <<'EOF'
[DropShadow]
On = 1
BlendMode = 9
Color = #303060
Opacity = 70
Spread = 1
Size = 8
Offset = 5 5
EOF

style 浮雕外斜面 <<'EOF'
[ColorOverlay]
On = 1
Color = #D02020
Opacity = 100
[Bevel]
On = 1
Style = 1
Size = 5
HighlightColor = #FFF0C0
HighlightOpacity = 75
ShadowColor = #200000
ShadowOpacity = 90
Offset = 3 3
[InnerShadow]
On = 1
Color = #500000
Opacity = 50
Size = 2
Offset = -1 -1
EOF

style 翠绿暗光 <<'EOF'
[ColorOverlay]
On = 1
Color = #20C060
Opacity = 100
[InnerShadow]
On = 1
Color = #003010
Opacity = 75
Size = 4
Offset = 2 2
[OuterGlow]
On = 1
Color = #80FF80
Opacity = 75
Size = 6
EOF

style 圆点彩绘 <<'EOF'
[PatternOverlay]
On = 1
Opacity = 100
Generate = dots 9 9 #FFD800 #FF3C00
[Stroke]
On = 1
Size = 2
Opacity = 100
Color = #FFFFFF
[OuterGlow]
On = 1
Color = #FF6600
Opacity = 70
Size = 5
EOF
