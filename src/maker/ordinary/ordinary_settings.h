#pragma once
// The settings of an ordinary card: one record that the wizard edits, the player previews, the
// template file stores and the ordinary card build packs. Values that the wizard takes from a
// text field are kept as typed (the template and the packed card store them unchanged); values
// that it takes from lists, sliders and colour choices are numbers.
//
// Everything the ordinary card build needs from this header is inline, so the packaging
// library can use the record without linking the ordinary subsystem.
#include <array>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/color.h"

namespace ordinary {

struct OrdinarySettings {
  // Card window and picture.
  std::string cardImg;                     // Cardimg: picture, GIF animation or movie; "" = unset
  std::string cardWidth = "0";             // CardWidth, as typed
  std::string cardHeight = "0";            // CardHeight, as typed
  platform::Color cardBkColor = 12632256;  // CardBkColor (grey 192,192,192)
  bool cardBkTran = false;                 // CardBkTran: the screen under the window shows

  // Background music.
  bool bkMusic = false;            // BkMusic: "使用背景音乐"
  std::string music;               // Music
  bool musicEndless = true;        // "无限次循环播放" selected (MusicCount "0")
  std::string musicCount = "1";    // the "播放次数:" field, as typed

  // Recorded voice and play order.
  bool useWav = false;             // UseWav: "播放录音文件"
  std::string wav;                 // Wav
  int playSet = 0;                 // PlaySet: index into kPlayOrders
  int playPosition = 0;            // PlayPosition: music position for play orders 3 and 4

  // Greeting box.
  std::string cardBox;             // CardBox: greeting box picture; "" = unset
  std::string boxWidth = "0";      // BoxWidth, as typed
  std::string boxHeight = "0";     // BoxHeight, as typed
  int boxIndex = 0;                // BoxIndex: 0 = "不要贺词框及贺词"
  platform::Color boxColor = platform::kClBtnFace;  // BoxColor
  bool boxTran = false;            // BoxTran
  std::string boxWord;             // BoxWord, with CR LF line breaks
  std::string boxFontName = "宋体";
  int boxFontSize = 9;             // points
  platform::Color boxFontColor = 255;
  bool boxFontBold = false;
  bool boxFontItalic = false;
  bool boxFontUnderline = false;
  bool boxFontStrikeOut = false;
  bool boxScroll = false;          // the greeting text scrolls upwards
  std::string boxInv = "100";      // ms per scroll step, as typed

  // Window movement.
  std::string move = "100";        // ms per movement step, as typed
  int moveSet1 = 0;                // start position: index into kPositions
  int moveSet2 = 0;                // final position
  bool cen = false;                // stays at the screen centre
  bool moves = false;              // travels around the screen edges

  // Greeting and closing actions.
  bool click = false;              // single click (false: double click)
  bool useTime = false;            // the greeting comes up by itself after timelen seconds
  std::string timelen = "60";      // as typed
  bool openUrl = false;
  std::string url;
  bool sendMail = false;
  std::string email;
  std::string subject;
  std::string body;                // with CR LF line breaks; may hold the date and time placeholders

  std::string icon;                // ICON: icon file for EXE cards, as typed ("默认" = default icon)

  bool operator==(const OrdinarySettings&) const = default;

  // The greeting box is used when a list entry other than "不要贺词框及贺词" is selected.
  bool HasGreetingBox() const { return boxIndex != 0; }
};

// The settings of a new wizard, before any template is loaded.
inline OrdinarySettings NewCardSettings() {
  OrdinarySettings s;
  s.musicEndless = true;
  s.musicCount = "1";
  s.click = true;
  s.url = "http://";
  s.subject = "我已经看过你的贺卡了";
  s.icon = "默认";
  s.boxFontName = "宋体";
  s.boxFontBold = true;
  s.boxFontColor = platform::Rgb(255, 0, 0);
  s.boxFontSize = 11;  // 14 pixels high at 96 dpi, shown by the font dialog as 11 points
  return s;
}

// Play order list (PlaySet).
inline constexpr std::array<std::string_view, 6> kPlayOrders = {
    "先播放1遍背景音乐再播放录音",
    "先播放录音再播放背景音乐",
    "背景音乐和录音同时播放",
    "背景音乐到指定位置后暂停并播放录音后再继续音乐",
    "背景音乐到指定位置后与录音同时播放",
    "当弹出贺词框时播放录音",
};

// Position list (MoveSet1, MoveSet2); 0 is a random one of 1 to 9.
inline constexpr std::array<std::string_view, 10> kPositions = {
    "随机位置",   "屏幕正中央", "屏蔽正上方", "屏幕左上角", "屏幕正左方",
    "屏幕左下角", "屏幕正底部", "屏幕右下角", "屏幕正右方", "屏幕右上角",
};

struct Point {
  int left = 0;
  int top = 0;
  bool operator==(const Point&) const = default;
};

// Left and top of a w x h window at position 1..9 on a W x H screen; halves truncate toward
// zero term by term. Position 0 (random) must be drawn by the caller first; values outside
// 1..9 give the centre.
Point PositionOf(int position, int screenW, int screenH, int w, int h);

// Text placeholders.
inline constexpr std::string_view kTemplateLineBreak = "<%BR%>";    // BoxWord, Body in templates
inline constexpr std::string_view kPackedLineBreak = "<%br%>";      // greeting text in a packed card
inline constexpr std::string_view kPackedSeparator = "<%=lmcrlf%>"; // between packed values
inline constexpr std::string_view kMailLineBreak = "%0a%0d";        // mail body in links and packed cards
inline constexpr std::string_view kDatePlaceholder = "<%=lmdate%>";
inline constexpr std::string_view kTimePlaceholder = "<%=lmtime%>";

// 'YYYY"年"M"月"D"日"' and "HH:NN:SS" of a local time.
std::string FormatMailDate(const std::tm& t);
std::string FormatMailTime(const std::tm& t);
// Replaces the date and time placeholders of a mail body by the given local time.
std::string FillMailPlaceholders(std::string body, const std::tm& t);

// Working folders of the wizard, relative to the program folder, with their trailing separator.
inline constexpr std::string_view kCardPictureFolder = "贺卡图片\\";
inline constexpr std::string_view kMusicFolder = "背景音乐\\";
inline constexpr std::string_view kVoiceFolder = "录音\\";
inline constexpr std::string_view kGreetingBoxFolder = "贺词框\\";
inline constexpr std::string_view kGreetingTextFolder = "贺词\\";
inline constexpr std::string_view kIconFolder = "图标\\";
inline constexpr std::string_view kBuiltCardFolder = "贺卡成品\\";
inline constexpr std::string_view kTemplateFolder = "template\\";

}  // namespace ordinary
