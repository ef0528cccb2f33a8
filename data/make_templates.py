#!/usr/bin/env python3
"""Writes the shipped card templates of template/: interactive designs (.lmcard2) and ordinary
card templates (.lmcard), GBK INI text with CR LF line ends, keys in the order the program writes
them. Media are named relative to the program folder so the templates work wherever it lies.

usage: make_templates.py [TEMPLATE_FOLDER]
"""
import os
import sys


def rgb(r, g, b):
    return r + g * 256 + b * 65536  # the platform's colour value: red in the low byte


def br(text):
    return "<%BR%>".join(text.strip("\n").split("\n"))


def write_ini(path, sections):
    lines = []
    for name, keys in sections:
        lines.append("[%s]" % name)
        lines.extend("%s=%s" % kv for kv in keys)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("gbk"))


def font(name, size, color, bold=False, italic_key="FontItalic", italic=False):
    keys = [("FontName", name), ("FontSize", size), ("FontColor", color)]
    if bold:
        keys.append(("FontBold", "True"))
    if italic:
        keys.append((italic_key, "True"))
    return keys


def label(caption, fnt, rect, tag, ind, cmd="", text="", hint="", cursor=0, pic=""):
    keys = [("Caption", br(caption))] + fnt + [("Hint", hint), ("Cursor", cursor)]
    keys += [("Left", rect[0]), ("Top", rect[1]), ("Width", rect[2]), ("Height", rect[3])]
    keys += [("Tag", tag), ("Cmd", cmd), ("Text", br(text)), ("Ind", ind), ("Wav", 0),
             ("PicUrl", -1), ("Pic", pic)]
    return keys


def button(caption, fnt, rect, tag, ind, cmd, text="", hint="", pic="", wav=0):
    keys = [("Caption", caption), ("Tag", tag)] + fnt + [("Hint", hint), ("Cursor", 1)]
    keys += [("Left", rect[0]), ("Top", rect[1]), ("Width", rect[2]), ("Height", rect[3])]
    keys += [("Cmd", cmd), ("Text", br(text)), ("Ind", ind), ("Wav", wav), ("PicUrl", -1), ("Pic", pic)]
    return keys


def image(filename, rect, tag, ind, media_id, cmd="", text="", hint="", pic=""):
    keys = [("Filename", filename), ("FilenameId", media_id), ("Hint", hint), ("Cursor", 0)]
    keys += [("Left", rect[0]), ("Top", rect[1]), ("Width", rect[2]), ("Height", rect[3])]
    keys += [("Text", br(text)), ("PicUrl", -1), ("Pic", pic), ("Cmd", cmd), ("Ind", ind),
             ("Wav", 0), ("Tag", tag)]
    return keys


def gif(filename, rect, tag, ind, media_id, cmd="", text="", hint="", pic=""):
    keys = [("AutoSize", "True"), ("Filename", filename), ("FilenameId", media_id), ("Hint", hint),
            ("Cursor", 0), ("Left", rect[0]), ("Top", rect[1]), ("Width", rect[2]),
            ("Height", rect[3]), ("Tag", tag), ("AutoSize", "True"), ("Text", br(text)),
            ("PicUrl", -1), ("Pic", pic), ("Cmd", cmd), ("Ind", ind), ("Wav", 0)]
    return keys


def picsbox(pictures, rect, hint="", effect=0, interval=4):
    keys = [("Hint", hint), ("Cursor", 1), ("BkCor", 0), ("Inv", interval), ("RandPic", 0),
            ("Clk", 1), ("Left", rect[0]), ("Top", rect[1]), ("Width", rect[2]),
            ("Height", rect[3]), ("EffectID", effect)]
    keys += [("Pic%d" % i, p) for i, p in enumerate(pictures)]
    return keys + [("PicCount", len(pictures)), ("Use", "True")]


def caption(text, fnt, rect, tag, ind, interval=60, way=0):
    """A transparent scrolling caption; its text is stored in pieces of 1000 bytes."""
    encoded = "<%br%>".join(text.strip("\n").split("\n")).encode("gbk")
    pieces = [encoded[i:i + 1000].decode("gbk") for i in (0, 1000, 2000)]
    keys = [("Tag", tag), ("Width", rect[2]), ("Height", rect[3]), ("Left", rect[0]), ("Top", rect[1]),
            ("Transparent", 1), ("SD", interval), ("Ind", ind),
            ("Txt1", pieces[0]), ("Txt2", pieces[1]), ("Txt3", pieces[2])]
    return keys + fnt + [("BKColor", 0), ("Way", way)]


def design(path, title, bkpic, music, labels, buttons, images, gifs, picsbox=None, zorder=None,
           onload=(0, ""), onclose=(0, ""), width=520, height=390, wavs=(), captions=()):
    count = len(labels) + len(buttons) + len(images) + len(gifs) + (1 if picsbox else 0)
    app = [("LabelCount", len(labels)), ("ButtonCount", len(buttons)), ("ImageCount", len(images)),
           ("GIFCount", len(gifs)), ("WavCount", len(wavs)), ("AviCount", 0), ("FlashCount", 0),
           ("lmsclCount", len(captions)), ("Zorder", zorder or count), ("Width", width), ("Height", height),
           ("BkColor", rgb(255, 255, 255)), ("CardTitle", title), ("ShowTitbar", "True"),
           ("BkPic", 0), ("BkPicName", bkpic), ("BkPicSet", 1), ("YxPic", -1), ("YxPicName", ""),
           ("Music", 1), ("MusicName", music), ("OnLoad", onload[0]), ("OnLoadSet", onload[1]),
           ("OnClose", onclose[0]), ("OnCloseSet", onclose[1]), ("ICON", "图标\\ICON26.ICO"),
           ("SPos", 1), ("EPos", 1), ("SuoScr", 1), ("MoveSD", 100)]
    sections = [("Application", app)]
    sections += [("Label%d" % (i + 1), k) for i, k in enumerate(labels)]
    sections.append(("PicsBox", picsbox if picsbox else [("Use", "False")]))
    sections += [("Button%d" % (i + 1), k) for i, k in enumerate(buttons)]
    sections += [("Image%d" % (i + 1), k) for i, k in enumerate(images)]
    sections += [("Gif%d" % (i + 1), k) for i, k in enumerate(gifs)]
    sections += [("Wav%d" % (i + 1), [("Filename", f), ("FilenameID", -1), ("Tag", i + 1)])
                 for i, f in enumerate(wavs)]
    sections += [("lmscl%d" % (i + 1), k) for i, k in enumerate(captions)]
    write_ini(path, sections)


def ordinary(path, cardimg, music, word, font_color, box_color=rgb(255, 244, 214), scroll=False,
             move=None, body="", box="贺词框\\红金贺词框.jpg"):
    keys = [("Cardimg", cardimg), ("CardWidth", 480), ("CardHeight", 360),
            ("CardBkColor", 12632256), ("CardBkTran", "False"), ("BkMusic", "True"),
            ("Music", music), ("MusicCount", 0), ("UseWav", "False"), ("Wav", ""),
            ("PlaySet", 0), ("PlayPosition", 0), ("CardBox", box),
            ("BoxWidth", 360), ("BoxHeight", 240), ("BoxIndex", 1), ("BoxColor", box_color),
            ("BoxTran", "False"), ("BoxWord", br(word)), ("BoxFontName", "楷体"),
            ("BoxFontSize", 14), ("BoxFontColor", font_color), ("BoxFontBold", "True")]
    if scroll:
        keys.append(("BoxScroll", "True"))
    keys += [("BoxInv", 100), ("Move", 50)]
    if move:
        keys += [("MoveSet1", move[0]), ("MoveSet2", move[1])]
    else:
        keys += [("MoveSet1", 1), ("MoveSet2", 1), ("Cen", "True")]
    keys += [("Click", "True"), ("UseTime", "True"), ("Timelen", 30), ("Url", "http://")]
    if body:
        keys.append(("SendMail", "True"))
    keys += [("Email", ""), ("Subject", "我已经看过你的贺卡了"), ("Body", br(body)),
             ("ICON", "图标\\ICON26.ICO")]
    write_ini(path, [("普通型贺卡", keys)])


RED = rgb(178, 24, 32)
GOLD = rgb(255, 215, 94)
CREAM = rgb(255, 244, 214)
END = "结束贺卡运行"
SHOW = "提示设置值2中的信息"


def main(out):
    os.makedirs(out, exist_ok=True)
    p = lambda name: os.path.join(out, name)

    # The default design: a New Year card that every new user sees first.
    design(p("默认贺卡.lmcard2"), "恭贺新禧", "贺卡图片\\新春红梅.jpg", "背景音乐\\7.mid",
           labels=[
               label("恭贺新禧", font("楷体", 30, GOLD, bold=True), (40, 24, 260, 52), 1, 3,
                     cmd=SHOW, text="点一点下面的按钮，把祝福收进心里。", hint="新年好！", cursor=1),
               label("爆竹声声辞旧岁，梅香阵阵迎新春。\n愿您在新的一年里：\n身体安康，笑口常开；\n"
                     "事业顺遂，步步登高；\n阖家团圆，福满门庭！",
                     font("楷体", 13, RED, bold=True), (48, 106, 284, 168), 2, 4),
           ],
           buttons=[button("收下祝福", font("黑体", 11, RED, bold=True), (128, 318, 110, 32), 1, 5,
                           END, hint="关闭贺卡")],
           images=[image("<%=lmcardpath%>贺词框\\红金贺词框.jpg", (30, 92, 320, 200), 1, 1, 2)],
           gifs=[gif("<%=lmcardpath%>贺卡图片\\闪烁星星.gif", (400, 150, 100, 100), 1, 2, 3,
                     cmd=SHOW, text="新年的星星为你闪烁，愿你心想事成！", hint="点我许个愿")],
           onload=(2, "新春快乐！祝您万事如意，阖家欢乐。"))

    design(p("生日快乐.lmcard2"), "生日快乐", "贺卡图片\\生日蛋糕.jpg", "背景音乐\\温馨小曲.mid",
           labels=[
               label("今天是属于你的日子。\n愿烛光照亮你每一个心愿，\n愿岁月温柔以待，\n"
                     "新的一岁平安喜乐、万事胜意！",
                     font("楷体", 12, rgb(194, 24, 91), bold=True), (20, 250, 300, 100), 1, 2),
           ],
           buttons=[
               button("许个愿吧", font("黑体", 10, rgb(194, 24, 91)), (340, 270, 100, 28), 1, 3,
                      "文本框1的内容改为设置值2中的值",
                      text="闭上眼睛，许下心愿——\n愿它在这一年里悄悄实现。", wav=1),
               button("谢谢你", font("黑体", 10, rgb(194, 24, 91)), (340, 310, 100, 28), 2, 4, END),
           ],
           images=[], gifs=[gif("<%=lmcardpath%>贺卡图片\\闪烁星星.gif", (410, 20, 100, 100), 1, 1, 2)],
           wavs=["录音\\风铃.wav"])

    design(p("中秋团圆.lmcard2"), "中秋快乐", "贺卡图片\\中秋明月.jpg", "背景音乐\\7.mid",
           labels=[
               label("海上生明月，天涯共此时。", font("楷体", 18, GOLD, bold=True),
                     (30, 20, 460, 40), 1, 1),
               label("又是一年月圆夜，\n无论相隔多远，\n同一轮明月寄去我的思念。\n祝您花好月圆，阖家团圆！",
                     font("楷体", 12, rgb(255, 246, 204)), (40, 230, 300, 110), 2, 2),
           ],
           buttons=[button("赏月去", font("黑体", 10, rgb(11, 26, 58)), (400, 340, 90, 28), 1, 4, END)],
           images=[image("<%=lmcardpath%>贺卡图片\\感恩花束.jpg", (380, 230, 120, 90), 1, 3, 2,
                         cmd=SHOW, text="花好月圆人长久，愿您岁岁有今朝。", hint="花好月圆")],
           gifs=[])

    design(p("感恩有你.lmcard2"), "感谢有你", "贺卡图片\\感恩花束.jpg", "背景音乐\\温馨小曲.mid",
           labels=[
               label("一路走来，感谢有你。\n你的帮助如春风化雨，\n你的鼓励似暗夜明灯。\n"
                     "千言万语汇成一句：\n谢谢你，愿你一切安好！",
                     font("楷体", 12, rgb(109, 76, 65), bold=True), (20, 110, 170, 200), 1, 2),
           ],
           buttons=[button("不客气", font("黑体", 10, rgb(109, 76, 65)), (400, 340, 90, 28), 1, 3, END),
                    button("下一幅", font("黑体", 10, rgb(109, 76, 65)), (300, 340, 90, 28), 2, 4,
                           "使图像展示框显示下一幅图像")],
           images=[],
           gifs=[gif("<%=lmcardpath%>贺卡图片\\闪烁星星.gif", (400, 60, 100, 100), 1, 1, 2,
                     cmd=SHOW, text="愿这份感谢，像星光一样一直陪着你。")],
           picsbox=picsbox(["<%=lmcardpath%>贺卡图片\\中秋明月.jpg", "<%=lmcardpath%>贺卡图片\\真情爱心.jpg",
                            "<%=lmcardpath%>贺卡图片\\生日蛋糕.jpg"], (210, 110, 240, 180),
                           hint="点一下，看下一幅", effect=19),
           zorder=5)

    design(p("真爱永恒.lmcard2"), "心心相印", "贺卡图片\\真情爱心.jpg", "背景音乐\\温馨小曲.mid",
           labels=[
               label("遇见你，是我最美的意外。\n想和你一起看日出日落，\n一起走过春夏秋冬。\n"
                     "执子之手，与子偕老。",
                     font("楷体", 12, rgb(255, 255, 255), bold=True), (30, 300, 460, 80), 1, 2),
           ],
           buttons=[button("我愿意", font("黑体", 10, rgb(216, 27, 96)), (420, 20, 80, 28), 1, 3, END)],
           images=[],
           gifs=[gif("<%=lmcardpath%>贺卡图片\\闪烁星星.gif", (20, 20, 100, 100), 1, 1, 2)],
           captions=[caption("春风十里，不如你。\n愿有岁月可回首，\n且以深情共白头。",
                             font("楷体", 14, rgb(255, 255, 255), bold=True), (140, 20, 260, 110), 1, 4)],
           zorder=4)

    design(p("新年烟花.lmcard2"), "新年快乐", "贺卡图片\\新年烟花.jpg", "背景音乐\\7.mid",
           labels=[
               label("烟花绽放处，新年已到来。", font("黑体", 16, GOLD, bold=True), (30, 20, 460, 36), 1, 2),
               label("点一点烟花下的小画，\n看看新年为你准备的惊喜。", font("楷体", 12, rgb(255, 255, 255)),
                     (30, 230, 300, 60), 2, 3),
           ],
           buttons=[
               button("新年愿望", font("黑体", 10, rgb(26, 31, 77)), (300, 340, 90, 28), 1, 4,
                      "文本框2的内容改为设置值2中的值",
                      text="愿你新年里：\n所求皆如愿，所行化坦途，\n多喜乐，长安宁。"),
               button("新年快乐", font("黑体", 10, rgb(26, 31, 77)), (400, 340, 90, 28), 2, 5, END),
           ],
           images=[image("<%=lmcardpath%>贺卡图片\\新春红梅.jpg", (380, 250, 100, 75), 1, 1, 2,
                         cmd="图片1改为设置值1中的值", pic="贺卡图片\\生日蛋糕.jpg",
                         hint="点一下，换一幅画")],
           gifs=[],
           onclose=(2, "感谢观看，新年快乐！"))

    ordinary(p("春节祝福.lmcard"), "贺卡图片\\新春红梅.jpg", "背景音乐\\7.mid",
             "爆竹声中辞旧岁，梅花香里迎新春。\n愿新的一年里，\n您身体康健、万事顺遂，\n"
             "家中笑语常在，门前福气满盈。\n新春快乐，阖家幸福！", RED)
    ordinary(p("新年快乐.lmcard"), "贺卡图片\\新年烟花.jpg", "背景音乐\\7.mid",
             "烟花映夜空，钟声报新年。\n辞旧迎新之际，\n愿你的日子像烟花一样绚烂，\n"
             "愿你的心愿都在新年里开花。\n新年快乐！", rgb(26, 31, 77), move=(6, 1))
    ordinary(p("生日祝福.lmcard"), "贺卡图片\\生日蛋糕.jpg", "背景音乐\\温馨小曲.mid",
             "又是一年花开时，\n烛光映着你的笑脸。\n愿你在新的一岁里，\n心有所向，行有所得，\n"
             "眼里有星光，身边有知己。\n生日快乐，岁岁年年皆如意！", rgb(194, 24, 91), scroll=True,
             box="贺词框\\粉色花边框.jpg", box_color=rgb(255, 240, 245))
    ordinary(p("中秋祝福.lmcard"), "贺卡图片\\中秋明月.jpg", "背景音乐\\7.mid",
             "但愿人长久，千里共婵娟。\n中秋月圆，桂香满院，\n愿您与家人共享团圆，\n"
             "月饼甜甜，日子圆圆！", rgb(11, 26, 58), move=(3, 1))
    ordinary(p("感谢有你.lmcard"), "贺卡图片\\感恩花束.jpg", "背景音乐\\温馨小曲.mid",
             "滴水之恩，铭记于心。\n感谢你在我需要的时候伸出双手，\n这份情谊我会一直珍藏。\n"
             "愿你的善意，都被温柔以待！", rgb(109, 76, 65),
             body="你好！\n我在<%=lmdate%> <%=lmtime%>看到了你的贺卡，谢谢你。")
    ordinary(p("爱的告白.lmcard"), "贺卡图片\\真情爱心.jpg", "背景音乐\\温馨小曲.mid",
             "山有木兮木有枝，\n心悦君兮君知否？\n往后余生，风雪是你，\n平淡是你，\n"
             "心底温柔，全都是你。", rgb(216, 27, 96), move=(5, 9),
             box="贺词框\\粉色花边框.jpg", box_color=rgb(255, 240, 245))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "template"))
