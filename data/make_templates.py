#!/usr/bin/env python3
"""Writes the shipped card templates of template/: interactive designs (.lmcard2), ordinary
card templates (.lmcard) and Flash card templates (.lmflash), GBK INI text with CR LF line ends,
keys in the order the programs write them. Media are named relative to the program folder so the templates work wherever it lies.

usage: make_templates.py [TEMPLATE_FOLDER]
       make_templates.py --movie 新春动画|烟花动画 OUT.lmflash   (the small movies of the Flash elements)
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


def gif(filename, rect, tag, ind, media_id, cmd="", text="", hint="", pic="", wav=0, natural=True):
    auto = [("AutoSize", "True")] if natural else []
    keys = auto + [("Filename", filename), ("FilenameId", media_id), ("Hint", hint),
                   ("Cursor", 1 if cmd or wav else 0), ("Left", rect[0]), ("Top", rect[1]), ("Width", rect[2]),
                   ("Height", rect[3]), ("Tag", tag)] + auto + [("Text", br(text)),
            ("PicUrl", -1), ("Pic", pic), ("Cmd", cmd), ("Ind", ind), ("Wav", wav)]
    return keys


def flash_movie(filename, rect, tag, ind, media_id):
    """A Flash movie element; its file name is read without the relative-path rule, so shipped
    designs name it behind <%=lmcardpath%>."""
    return [("FileName", filename), ("FileNameID", media_id), ("Tag", tag), ("Ind", ind),
            ("Left", rect[0]), ("Top", rect[1]), ("Width", rect[2]), ("Height", rect[3])]


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
           onload=(0, ""), onclose=(0, ""), width=520, height=390, wavs=(), captions=(), flashes=(),
           mask="", titlebar=True, bkset=1, position=(1, 1)):
    count = len(labels) + len(buttons) + len(images) + len(gifs) + len(flashes) + len(captions)
    app = [("LabelCount", len(labels)), ("ButtonCount", len(buttons)), ("ImageCount", len(images)),
           ("GIFCount", len(gifs)), ("WavCount", len(wavs)), ("AviCount", 0), ("FlashCount", len(flashes)),
           ("lmsclCount", len(captions)), ("Zorder", zorder or count), ("Width", width), ("Height", height),
           ("BkColor", rgb(255, 255, 255)), ("CardTitle", title)] + ([("ShowTitbar", "True")] if titlebar else []) + [
           ("BkPic", 0), ("BkPicName", bkpic), ("BkPicSet", bkset), ("YxPic", 1 if mask else -1), ("YxPicName", mask),
           ("Music", 1), ("MusicName", music), ("OnLoad", onload[0]), ("OnLoadSet", onload[1]),
           ("OnClose", onclose[0]), ("OnCloseSet", onclose[1]), ("ICON", "图标\\ICON26.ICO"),
           ("SPos", position[0]), ("EPos", position[1]), ("SuoScr", 1), ("MoveSD", 100)]
    sections = [("Application", app)]
    sections += [("Label%d" % (i + 1), k) for i, k in enumerate(labels)]
    sections.append(("PicsBox", picsbox if picsbox else [("Use", "False")]))
    sections += [("Button%d" % (i + 1), k) for i, k in enumerate(buttons)]
    sections += [("Image%d" % (i + 1), k) for i, k in enumerate(images)]
    sections += [("Gif%d" % (i + 1), k) for i, k in enumerate(gifs)]
    sections += [("Wav%d" % (i + 1), [("Filename", f), ("FilenameID", -1), ("Tag", i + 1)])
                 for i, f in enumerate(wavs)]
    sections += [("Flash%d" % (i + 1), k) for i, k in enumerate(flashes)]
    sections += [("lmscl%d" % (i + 1), k) for i, k in enumerate(captions)]
    write_ini(path, sections)


def ordinary(path, cardimg, music, word, font_color, box_color=rgb(255, 244, 214), scroll=False,
             move=None, body="", box="贺词框\\红金贺词框.jpg", count=0, loop=False, size=(480, 360),
             font="楷体", box_tran=False, double_click=False):
    keys = [("Cardimg", cardimg), ("CardWidth", size[0]), ("CardHeight", size[1]),
            ("CardBkColor", 12632256), ("CardBkTran", "False"), ("BkMusic", "True"),
            ("Music", music), ("MusicCount", count), ("UseWav", "False"), ("Wav", ""),
            ("PlaySet", 0), ("PlayPosition", 0), ("CardBox", box),
            ("BoxWidth", 360), ("BoxHeight", 240), ("BoxIndex", 1), ("BoxColor", box_color),
            ("BoxTran", "True" if box_tran else "False"), ("BoxWord", br(word)), ("BoxFontName", font),
            ("BoxFontSize", 14), ("BoxFontColor", font_color), ("BoxFontBold", "True")]
    if scroll:
        keys.append(("BoxScroll", "True"))
    keys += [("BoxInv", 100), ("Move", 50)]
    if move:
        keys += [("MoveSet1", move[0]), ("MoveSet2", move[1])]
    else:
        keys += [("MoveSet1", 1), ("MoveSet2", 1), ("Cen", "True")]
    if loop:
        keys.append(("Moves", "True"))
    if not double_click:
        keys.append(("Click", "True"))
    keys += [("UseTime", "True"), ("Timelen", 30), ("Url", "http://")]
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
HERE = os.path.dirname(os.path.abspath(__file__))


def natural_size(rel):
    """Width and height of a shipped GIF or BMP, read from its header."""
    with open(os.path.join(HERE, rel.replace("\\", os.sep)), "rb") as f:
        head = f.read(26)
    if head[:3] == b"GIF":
        return int.from_bytes(head[6:8], "little"), int.from_bytes(head[8:10], "little")
    return int.from_bytes(head[18:22], "little"), abs(int.from_bytes(head[22:26], "little", signed=True))


def scene(name, pic="", color=rgb(255, 255, 255), show=(1, 1000), hide=(1, 1000), time=6000, tile=False):
    return dict(name=name, pic=pic, color=color, show=show, hide=hide, time=time, tile=tile)


def obj(file, scene_id, pos, start=0, hide=None, show=(1, 1500), gone=(1, 1500), alpha=100, screen=False,
        layer=0, size=None, centre=False):
    w, h = size or natural_size(file)
    left, top = pos
    if centre:
        left = (800 - w) // 2
    return dict(file=file, scene=scene_id, left=left, top=top, width=w, height=h, start=start, hide=hide,
                show=show, gone=gone, alpha=alpha, screen=screen, layer=layer)


def flash(path, title, title_style, back_color, music, scenes, objects, title_size="小初",
          title_color=rgb(255, 0, 0), width=800, height=600, use_title=True, back_pic=""):
    """A Flash card template: booleans as 1/0, paths relative to the program folder."""
    b = lambda v: 1 if v else 0
    head = [("Title", title), ("UseTitle", b(use_title)), ("TitFontName", "隶书"), ("TitFontSize", title_size),
            ("TitFontColor", title_color), ("TitFontBold", 1), ("TitFontItalic", 0), ("TitFontUnderline", 0),
            ("TitFontStrikeOut", 0), ("TitStyle", title_style), ("BackPic", back_pic), ("UseBackPic", b(back_pic)),
            ("BackCor", back_color), ("TileBack", b(back_pic)), ("Width", width), ("Height", height),
            ("BackMusic", music), ("UseMusic", b(music)), ("UseJpeg", 1), ("SceneCount", len(scenes)),
            ("ImageCount", len(objects))]
    sections = [("lmFlashCard", head)]
    for o in objects:
        if o["hide"] is None:  # leave with the scene: gone before the next one comes in
            o["hide"] = max(1000, scenes[o["scene"]]["time"] - o["start"] - o["show"][1] - o["gone"][1])
    for i, sc in enumerate(scenes):
        sections.append(("Scene%d" % i, [
            ("Name", sc["name"]), ("BackPic", sc["pic"]), ("BackColor", sc["color"]), ("TlteBack", b(sc["tile"])),
            ("StretchBack", b(sc["pic"] and not sc["tile"])), ("ShowEff", sc["show"][0]), ("HideEff", sc["hide"][0]),
            ("ShowEffTime", sc["show"][1]), ("HideEffTime", sc["hide"][1]), ("ShowTime", sc["time"]),
            ("UseBackPic", b(sc["pic"])), ("UseBackColor", b(not sc["pic"])), ("Index", i)]))
    for k, o in enumerate(objects):
        sections.append(("Image%d" % k, [
            ("Name", o["file"].split("\\")[-1]), ("SceneID", o["scene"]),
            ("IsText", b(o["file"].endswith(".bmp"))), ("IsGif", b(o["file"].endswith(".gif"))),
            ("StartShowTime", o["start"]), ("HideTime", o["hide"]), ("ShowEff", o["show"][0]),
            ("HideEff", o["gone"][0]), ("ShowEffTime", o["show"][1]), ("HideEffTime", o["gone"][1]),
            ("AlphaChange", 1), ("AlphaValue", o["alpha"]), ("LayerMode", b(o["screen"])), ("LayerID", o["layer"]),
            ("File", o["file"]), ("Left", o["left"]), ("Top", o["top"]), ("Width", o["width"]),
            ("Height", o["height"])]))
    write_ini(path, sections)


FL = "贺卡图片\\flash\\"
PICS = "贺卡图片\\"


def flash_templates(p):
    # Spring Festival: red and gold, plum blossom night, fireworks over a dark sky.
    flash(p("新春祝福.lmflash"), "新春快乐 万事如意", "黄字红边加投影", rgb(127, 0, 0), "背景音乐\\新春序曲.mp3",
          [scene("福到", FL + "春景.jpg", show=(26, 1200), hide=(1, 1000), time=7000),
           scene("梅香", FL + "梅花.jpg", show=(11, 1500), hide=(10, 1000), time=7000),
           scene("烟花", color=rgb(36, 16, 10), show=(1, 1000), hide=(35, 1200), time=8000)],
          [obj(FL + "灯笼.gif", 0, (40, 90), start=300, show=(9, 1200)),
           obj(FL + "灯笼.gif", 0, (670, 90), start=600, show=(9, 1200)),
           obj(FL + "恭贺新春.bmp", 0, (0, 450), start=1500, show=(5, 1500), centre=True, layer=2),
           obj(FL + "烟花.gif", 0, (130, 300), start=2500, alpha=80, screen=True, layer=1),
           obj(FL + "烟花.gif", 0, (540, 300), start=3200, alpha=80, screen=True, layer=1),
           obj(FL + "梅开五福.bmp", 1, (330, 110), start=1200, show=(7, 1500), layer=2),
           obj(PICS + "闪烁星星.gif", 1, (120, 120), start=800, show=(1, 1000)),
           obj(PICS + "闪烁星星.gif", 1, (660, 240), start=1600, show=(1, 1000)),
           obj(FL + "烟花.gif", 2, (80, 110), start=200, show=(0, 0), screen=True),
           obj(FL + "烟花.gif", 2, (330, 60), start=900, show=(0, 0), screen=True),
           obj(FL + "烟花.gif", 2, (580, 130), start=1600, show=(0, 0), screen=True),
           obj(FL + "烟花.gif", 2, (200, 250), start=2300, show=(0, 0), screen=True),
           obj(FL + "烟花.gif", 2, (470, 240), start=3000, show=(0, 0), screen=True),
           obj(FL + "万事如意.bmp", 2, (0, 440), start=1200, show=(1, 2000), centre=True, layer=3)])

    # Birthday: a party, then a cake in candle light.
    flash(p("生日派对.lmflash"), "祝你生日快乐", "糖果条纹", rgb(106, 27, 154), "背景音乐\\温馨小曲.mp3",
          [scene("派对", FL + "生日派对.jpg", show=(35, 1200), hide=(1, 1000), time=7000),
           scene("烛光", FL + "生日烛光.jpg", show=(1, 1500), hide=(1, 1500), time=9000)],
          [obj(PICS + "气球.gif", 0, (40, 180), start=300, show=(5, 2000)),
           obj(PICS + "气球.gif", 0, (650, 200), start=800, show=(5, 2000)),
           obj(FL + "生日快乐.bmp", 0, (0, 300), start=1500, show=(9, 1500), centre=True, layer=2),
           obj(FL + "心想事成.bmp", 0, (0, 470), start=3000, show=(1, 1500), centre=True, layer=2),
           obj(PICS + "闪烁星星.gif", 0, (150, 420), start=2000),
           obj(PICS + "闪烁星星.gif", 0, (560, 420), start=2400),
           obj(FL + "许个心愿.bmp", 1, (0, 100), start=1000, show=(1, 2000), centre=True, layer=2),
           obj(PICS + "蜡烛.gif", 1, (90, 380), start=500, show=(3, 1500)),
           obj(PICS + "蜡烛.gif", 1, (670, 380), start=500, show=(7, 1500)),
           obj(PICS + "跳动爱心.gif", 1, (650, 90), start=2500, alpha=90)])

    # Mid-Autumn: the full moon over the hills, then osmanthus and a mooncake.
    flash(p("中秋月圆.lmflash"), "花好月圆 中秋快乐", "金色浮雕", rgb(7, 18, 43), "背景音乐\\月光小夜曲.mp3",
          [scene("明月", FL + "中秋夜空.jpg", show=(1, 2000), hide=(1, 1500), time=8000),
           scene("桂香", FL + "桂花.jpg", show=(26, 1500), hide=(1, 1500), time=8000)],
          [obj(FL + "花好月圆.bmp", 0, (70, 200), start=1500, show=(1, 2000), layer=2),
           obj(FL + "千里婵娟.bmp", 0, (0, 500), start=3500, show=(5, 1500), centre=True, layer=2),
           obj(PICS + "孔明灯.gif", 0, (120, 360), start=800, show=(5, 3000)),
           obj(PICS + "孔明灯.gif", 0, (330, 300), start=1800, show=(5, 3000), alpha=85),
           obj(PICS + "闪烁星星.gif", 0, (700, 60), start=500),
           obj(FL + "中秋快乐.bmp", 1, (60, 250), start=1000, show=(3, 1500), layer=2),
           obj(FL + "灯笼.gif", 1, (70, 360), start=400, show=(5, 1200)),
           obj(FL + "灯笼.gif", 1, (210, 400), start=900, show=(5, 1200))],
          title_color=rgb(255, 200, 40))

    # Love: a heart of stars, then floating hearts.
    flash(p("爱的心语.lmflash"), "我的心里只有你", "粉紫渐变描边", rgb(18, 4, 43), "背景音乐\\月光小夜曲.mp3",
          [scene("星语", FL + "浪漫星空.jpg", show=(1, 2000), hide=(35, 1200), time=8000),
           scene("心愿", FL + "玫瑰花海.jpg", show=(35, 1500), hide=(1, 1500), time=8000)],
          [obj(FL + "我爱你.bmp", 0, (0, 250), start=1500, show=(1, 2500), centre=True, layer=2),
           obj(PICS + "跳动爱心.gif", 0, (120, 420), start=2500, alpha=90),
           obj(PICS + "跳动爱心.gif", 0, (580, 420), start=3000, alpha=90),
           obj(FL + "执子之手.bmp", 1, (0, 160), start=800, show=(3, 1500), centre=True, layer=2),
           obj(FL + "一生一世.bmp", 1, (0, 300), start=2500, show=(7, 1500), centre=True, layer=2),
           obj(PICS + "跳动爱心.gif", 1, (350, 430), start=4000),
           obj(PICS + "闪烁星星.gif", 1, (60, 60), start=600),
           obj(PICS + "闪烁星星.gif", 1, (640, 470), start=1200)],
          title_color=rgb(255, 64, 129))


def thanks_template(p):
    # Thanks: a bouquet in warm light, then warm hearts.
    flash(p("感恩的心.lmflash"), "感谢有你", "黄字红边加投影", rgb(255, 201, 135), "背景音乐\\温馨小曲.mp3",
          [scene("花束", FL + "感恩花园.jpg", show=(1, 1500), hide=(1, 1000), time=8000),
           scene("心意", FL + "玫瑰花海.jpg", show=(26, 1500), hide=(1, 1500), time=8000)],
          [obj(FL + "谢谢你.bmp", 0, (60, 150), start=1000, show=(3, 1500), layer=2),
           obj(FL + "感恩有你.bmp", 0, (20, 290), start=2500, show=(1, 2000), layer=2),
           obj(PICS + "闪烁星星.gif", 0, (420, 90), start=1800),
           obj(PICS + "跳动爱心.gif", 0, (80, 440), start=3500, alpha=90),
           obj(FL + "心想事成.bmp", 1, (0, 250), start=800, show=(9, 1500), centre=True, layer=2),
           obj(PICS + "跳动爱心.gif", 1, (200, 420), start=2000),
           obj(PICS + "跳动爱心.gif", 1, (500, 420), start=2600),
           obj(PICS + "闪烁星星.gif", 1, (650, 100), start=1200)],
          title_color=rgb(255, 112, 67))


def small_movie(path, kind):
    """The small movies that the interactive templates show in their Flash elements."""
    if kind == "新春动画":
        flash(path, "", "不添加任何文字特效", rgb(127, 0, 0), "",
              [scene("福到", FL + "春景.jpg", show=(26, 800), hide=(1, 600), time=4000),
               scene("梅香", FL + "梅花.jpg", show=(1, 800), hide=(1, 600), time=4000)],
              [obj(FL + "灯笼.gif", 0, (10, 40), start=200, size=(45, 65), show=(9, 800)),
               obj(FL + "灯笼.gif", 0, (345, 40), start=400, size=(45, 65), show=(9, 800)),
               obj(FL + "恭贺新春.bmp", 0, (100, 220), start=800, size=(200, 52), show=(5, 1000)),
               obj(FL + "梅开五福.bmp", 1, (160, 60), start=600, size=(220, 44), show=(7, 1000))],
              width=400, height=300, use_title=False)
    else:
        flash(path, "", "不添加任何文字特效", rgb(10, 14, 40), "",
              [scene("烟花", color=rgb(10, 14, 40), show=(1, 500), hide=(1, 500), time=5000)],
              [obj(FL + "烟花.gif", 0, (30, 40), start=0, show=(0, 0), screen=True),
               obj(FL + "烟花.gif", 0, (230, 20), start=700, show=(0, 0), screen=True),
               obj(FL + "烟花.gif", 0, (130, 130), start=1400, show=(0, 0), screen=True),
               obj(FL + "烟花.gif", 0, (260, 150), start=2100, show=(0, 0), screen=True)],
              width=400, height=300, use_title=False)


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
           onload=(2, "新春快乐！祝您万事如意，阖家欢乐。"), zorder=5)

    # Birthday: the wish button rewrites the greeting, the star turns into balloons with a spoken wish.
    design(p("生日快乐.lmcard2"), "生日快乐", "贺卡图片\\flash\\生日派对.jpg", "背景音乐\\温馨小曲.mid",
           labels=[
               label("生日快乐", font("楷体", 30, rgb(255, 255, 255), bold=True), (40, 84, 260, 50), 1, 2),
               label("今天是属于你的日子。\n愿烛光照亮你每一个心愿，\n愿岁月温柔以待，\n"
                     "新的一岁平安喜乐、万事胜意！",
                     font("楷体", 13, rgb(255, 240, 250), bold=True), (40, 150, 300, 110), 2, 3),
           ],
           buttons=[
               button("许个愿吧", font("黑体", 10, rgb(194, 24, 91), bold=True), (40, 300, 100, 28), 1, 4,
                      "文本框2的内容改为设置值2中的值",
                      text="闭上眼睛，许下心愿——\n愿它在这一年里悄悄实现。", wav=1),
               button("谢谢你", font("黑体", 10, rgb(194, 24, 91), bold=True), (160, 300, 100, 28), 2, 5, END),
           ],
           images=[], gifs=[gif("<%=lmcardpath%>贺卡图片\\闪烁星星.gif", (370, 140, 100, 100), 1, 6, 3,
                                cmd="GIF动画1改为设置值1中的值", pic="贺卡图片\\气球.gif",
                                hint="点一点星星，看看会变出什么", wav=2),
                            gif("<%=lmcardpath%>贺卡图片\\蜡烛.gif", (440, 260, 40, 120), 2, 7, 4)],
           wavs=["录音\\风铃.wav", "录音\\生日祝福.wav"], zorder=7)

    # Mid-Autumn: a caption drifts from left to right under the moon.
    design(p("中秋团圆.lmcard2"), "中秋快乐", "贺卡图片\\中秋明月.jpg", "背景音乐\\月光小夜曲.mid",
           labels=[
               label("海上生明月，天涯共此时。", font("楷体", 18, GOLD, bold=True),
                     (30, 20, 460, 40), 1, 1),
               label("又是一年月圆夜，\n无论相隔多远，\n同一轮明月寄去我的思念。\n祝您花好月圆，阖家团圆！",
                     font("楷体", 12, rgb(255, 246, 204)), (40, 230, 300, 110), 2, 2),
           ],
           buttons=[button("赏月去", font("黑体", 10, rgb(11, 26, 58)), (400, 340, 90, 28), 1, 4, END)],
           images=[image("<%=lmcardpath%>贺卡图片\\感恩花束.jpg", (380, 230, 120, 90), 1, 3, 2,
                         cmd=SHOW, text="花好月圆人长久，愿您岁岁有今朝。", hint="花好月圆")],
           gifs=[],
           captions=[caption("桂花飘香   月饼甜甜   人团圆", font("楷体", 12, GOLD, bold=True),
                             (30, 64, 300, 28), 1, 5, interval=50, way=3)])

    # Thanks: a picture show box with every show-box action.
    design(p("感恩有你.lmcard2"), "感谢有你", "贺卡图片\\感恩花束.jpg", "背景音乐\\温馨小曲.mid",
           labels=[
               label("一路走来，感谢有你。\n你的帮助如春风化雨，\n你的鼓励似暗夜明灯。\n"
                     "千言万语汇成一句：\n谢谢你，愿你一切安好！",
                     font("楷体", 12, rgb(109, 76, 65), bold=True), (20, 110, 170, 200), 1, 2),
               label("从头看", font("黑体", 10, rgb(109, 76, 65), bold=True), (220, 300, 60, 20), 2, 6,
                     cmd="展示框显示序为设置值1的图像", text="", hint="回到第一幅", cursor=1, pic="1"),
           ],
           buttons=[button("不客气", font("黑体", 10, rgb(109, 76, 65)), (400, 340, 90, 28), 1, 3, END),
                    button("下一幅", font("黑体", 10, rgb(109, 76, 65)), (300, 340, 90, 28), 2, 4,
                           "使图像展示框显示下一幅图像"),
                    button("上一幅", font("黑体", 10, rgb(109, 76, 65)), (200, 340, 90, 28), 3, 5,
                           "使图像展示框显示上一幅图像")],
           images=[],
           gifs=[gif("<%=lmcardpath%>贺卡图片\\闪烁星星.gif", (400, 60, 100, 100), 1, 1, 7,
                     cmd=SHOW, text="愿这份感谢，像星光一样一直陪着你。")],
           picsbox=picsbox(["<%=lmcardpath%>贺卡图片\\中秋明月.jpg", "<%=lmcardpath%>贺卡图片\\真情爱心.jpg",
                            "<%=lmcardpath%>贺卡图片\\生日蛋糕.jpg"], (210, 110, 240, 180),
                           hint="点一下，看下一幅", effect=19),
           zorder=7)

    design(p("真爱永恒.lmcard2"), "心心相印", "贺卡图片\\真情爱心.jpg", "背景音乐\\月光小夜曲.mid",
           labels=[
               label("遇见你，是我最美的意外。\n想和你一起看日出日落，\n一起走过春夏秋冬。\n"
                     "执子之手，与子偕老。",
                     font("楷体", 12, rgb(255, 255, 255), bold=True), (30, 300, 460, 80), 1, 2),
           ],
           buttons=[button("我愿意", font("黑体", 10, rgb(216, 27, 96)), (420, 20, 80, 28), 1, 3, END)],
           images=[],
           gifs=[gif("<%=lmcardpath%>贺卡图片\\闪烁星星.gif", (20, 20, 100, 100), 1, 1, 2)],
           captions=[caption("春风十里，不如你。\n愿有岁月可回首，\n且以深情共白头。",
                             font("楷体", 14, rgb(255, 255, 255), bold=True), (140, 20, 260, 110), 1, 4)])

    # New Year: the picture swaps, the second label takes a wish, a label opens a reply mail.
    design(p("新年烟花.lmcard2"), "新年快乐", "贺卡图片\\新年烟花.jpg", "背景音乐\\7.mid",
           labels=[
               label("烟花绽放处，新年已到来。", font("黑体", 16, GOLD, bold=True), (30, 20, 460, 36), 1, 2),
               label("点一点烟花下的小画，\n看看新年为你准备的惊喜。", font("楷体", 12, rgb(255, 255, 255)),
                     (30, 230, 300, 60), 2, 3),
               label("给我回封信", font("黑体", 10, GOLD, bold=True), (30, 345, 100, 20), 3, 6,
                     cmd="打开设置值1中的文件", hint="写几句话给我吧", cursor=1,
                     pic="mailto:?subject=新年快乐"),
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
           onclose=(2, "感谢观看，新年快乐！"), zorder=6)

    # Spring Festival with a Flash movie: a button swaps the movie, the lantern turns into a
    # firework, a sound button speaks the greeting, a caption runs from right to left.
    design(p("新春大吉.lmcard2"), "新春大吉", "贺卡图片\\flash\\春景.jpg", "背景音乐\\新春序曲.mp3",
           labels=[label("新春大吉", font("楷体", 26, GOLD, bold=True), (40, 14, 240, 44), 1, 1)],
           buttons=[
               button("看烟花", font("黑体", 10, RED, bold=True), (40, 380, 90, 28), 1, 4,
                      "Flash电影1改为设置1中的值", pic="贺卡图片\\烟花动画.swf", hint="换一段动画"),
               button("听听祝福", font("黑体", 10, RED, bold=True), (150, 380, 90, 28), 2, 5, "无操作",
                      hint="听我说一句新年祝福", wav=1),
               button("恭喜发财", font("黑体", 10, RED, bold=True), (420, 380, 110, 28), 3, 6, END),
           ],
           images=[],
           gifs=[gif("<%=lmcardpath%>贺卡图片\\flash\\灯笼.gif", (460, 70, 90, 130), 1, 3, 3,
                     cmd="GIF动画1改为设置值1中的值", pic="贺卡图片\\flash\\烟花.gif", hint="点亮灯笼")],
           flashes=[flash_movie("<%=lmcardpath%>贺卡图片\\新春动画.swf", (40, 66, 400, 300), 1, 2, 2)],
           captions=[caption("红红火火过大年   新春快乐   万事如意   阖家幸福   年年有余",
                             font("楷体", 12, GOLD, bold=True), (250, 384, 160, 22), 1, 7, interval=40, way=2)],
           wavs=["录音\\新春祝福.wav"], width=560, height=420)

    # Love in a heart-shaped window: the mask cuts the card to a heart, without a title bar.
    design(p("心心相印.lmcard2"), "心心相印", "贺卡图片\\flash\\玫瑰花海.jpg", "背景音乐\\月光小夜曲.mp3",
           labels=[label("认识你之后，\n平凡的日子也有了光。\n余生很长，\n我想每一天都和你一起过。",
                         font("楷体", 12, rgb(255, 255, 255), bold=True), (120, 150, 240, 100), 1, 2)],
           buttons=[button("我愿意", font("黑体", 11, rgb(216, 27, 96), bold=True), (195, 300, 90, 28), 1, 4, END,
                           hint="点一下，关上贺卡")],
           images=[],
           gifs=[gif("<%=lmcardpath%>贺卡图片\\跳动爱心.gif", (190, 50, 100, 100), 1, 1, 3, cmd=SHOW,
                     text="我的心，只为你跳动。", hint="听听我的心跳")],
           captions=[caption("爱你   想你   念你", font("楷体", 11, rgb(255, 255, 255), bold=True),
                             (170, 255, 140, 40), 1, 1, interval=60, way=1)],
           mask="贺卡图片\\心形掩饰图.gif", titlebar=False, width=480, height=420)

    ordinary(p("春节祝福.lmcard"), "贺卡图片\\新春红梅.jpg", "背景音乐\\7.mid",
             "红灯笼高高挂，春联贴满门。\n在这辞旧迎新的日子里，\n祝您和家人新春吉祥，\n"
             "身体健康，事业兴旺，\n年年有余！", RED)
    ordinary(p("新年快乐.lmcard"), "贺卡图片\\新年烟花.jpg", "背景音乐\\新春序曲.mp3",
             "烟花映夜空，钟声报新年。\n辞旧迎新之际，\n愿你的日子像烟花一样绚烂，\n"
             "愿你的心愿都在新年里开花。\n新年快乐！", rgb(26, 31, 77), move=(6, 1), count=2)
    ordinary(p("生日祝福.lmcard"), "贺卡图片\\生日蛋糕.jpg", "背景音乐\\温馨小曲.mid",
             "又是一年花开时，\n烛光映着你的笑脸。\n愿你在新的一岁里，\n心有所向，行有所得，\n"
             "眼里有星光，身边有知己。\n生日快乐，岁岁年年皆如意！", rgb(194, 24, 91), scroll=True,
             box="贺词框\\粉色花边框.jpg", box_color=rgb(255, 240, 245))
    ordinary(p("中秋祝福.lmcard"), "贺卡图片\\中秋明月.jpg", "背景音乐\\月光小夜曲.mid",
             "但愿人长久，千里共婵娟。\n中秋月圆，桂香满院，\n愿您与家人共享团圆，\n"
             "月饼甜甜，日子圆圆！", rgb(255, 233, 166), move=(3, 1), box="贺词框\\月夜贺词框.jpg",
             box_color=rgb(27, 43, 74))
    ordinary(p("感谢有你.lmcard"), "贺卡图片\\感恩花束.jpg", "背景音乐\\温馨小曲.mp3",
             "滴水之恩，铭记于心。\n感谢你在我需要的时候伸出双手，\n这份情谊我会一直珍藏。\n"
             "愿你的善意，都被温柔以待！", rgb(85, 139, 47), box="贺词框\\清新绿叶框.jpg",
             box_color=rgb(241, 248, 233), double_click=True,
             body="你好！\n我在<%=lmdate%> <%=lmtime%>看到了你的贺卡，谢谢你。")
    ordinary(p("爱的告白.lmcard"), "贺卡图片\\真情爱心.jpg", "背景音乐\\月光小夜曲.mid",
             "山有木兮木有枝，\n心悦君兮君知否？\n往后余生，风雪是你，\n平淡是你，\n"
             "心底温柔，全都是你。", rgb(216, 27, 96), move=(5, 9), loop=True,
             box="贺词框\\粉色花边框.jpg", box_color=rgb(255, 240, 245))

    flash_templates(p)
    thanks_template(p)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--movie":
        small_movie(sys.argv[3], sys.argv[2])
    else:
        main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "template"))
