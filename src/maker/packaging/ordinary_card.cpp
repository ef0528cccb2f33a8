#include "maker/packaging/ordinary_card.h"

#include "platform/text.h"

namespace packaging {

ordinary::OrdinarySettings OrdinarySettingsFromCard(const CardReader& card) {
  if (card.Kind() != CardKind::Ordinary) throw CardFormatError("该文件不是普通型贺卡。");
  auto text = [&](int n) -> const std::string& { return card.Field(n); };
  auto flag = [&](int n) { return card.Field(n) == "1"; };
  auto number = [&](int n) {
    int v = 0;
    if (!platform::TryStrToInt(card.Field(n), v)) {
      throw CardFormatError("贺卡文件已损坏：第 " + std::to_string(n) + " 项不是数字。");
    }
    return v;
  };
  ordinary::OrdinarySettings s;
  s.cardWidth = text(3);
  s.cardHeight = text(4);
  s.cardBkColor = number(5);
  s.cardBkTran = flag(6);
  s.bkMusic = flag(7);
  s.musicEndless = text(10) == "0";
  s.musicCount = s.musicEndless ? "1" : text(10);
  s.useWav = flag(11);
  s.playSet = number(13);
  s.playPosition = number(14);
  s.boxIndex = flag(15) ? 1 : 0;
  s.boxWidth = text(18);
  s.boxHeight = text(19);
  s.boxColor = number(20);
  s.boxTran = flag(21);
  s.boxWord = platform::DecodeLineBreaks(text(22), ordinary::kPackedLineBreak);
  s.boxFontName = text(23);
  s.boxFontSize = number(24);
  s.boxFontColor = number(25);
  s.boxFontBold = flag(26);
  s.boxFontItalic = flag(27);
  s.boxFontUnderline = flag(28);
  s.boxFontStrikeOut = flag(29);
  s.move = text(30);
  s.moveSet1 = number(31);
  s.moveSet2 = number(32);
  s.cen = flag(33);
  s.moves = flag(34);
  s.click = flag(35);
  s.useTime = flag(37);
  s.timelen = text(38);
  s.openUrl = flag(39);
  s.url = text(40);
  s.sendMail = flag(41);
  s.email = text(42);
  s.subject = text(43);
  s.body = platform::ReplaceText(text(44), ordinary::kMailLineBreak, "\r\n");
  s.boxScroll = flag(45);
  s.boxInv = text(46);
  s.icon.clear();
  return s;
}

}  // namespace packaging
