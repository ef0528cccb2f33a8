#include "player/stage/card_stage.h"

#include <gtest/gtest.h>

#include "maker/document/caption_scroll.h"
#include "platform/gif_codec.h"
#include "stage_fixture.h"

using document::ElementKind;
using platform::Bitmap;
using platform::Rgb;
using player_fixture::CardBytes;
using stage_fixture::Bmp;
using stage_fixture::Played;

namespace {

// Pixels inside a rectangle of a bitmap where yellow text lies over blue (anti-aliased edges
// included): red and green equal and well above zero.
int CountYellowInk(const Bitmap& b, platform::Rect r) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const platform::Color c = b.PixelColor(x, y);
      n += platform::RedOf(c) > 100 && platform::RedOf(c) == platform::GreenOf(c);
    }
  return n;
}

// Columns of a rectangle that hold a pixel other than the background colour.
std::pair<int, int> InkColumns(const Bitmap& b, platform::Rect r, platform::Color bk) {
  int first = -1, last = -1;
  for (int x = r.left; x < r.right; ++x)
    for (int y = r.top; y < r.bottom; ++y)
      if (b.PixelColor(x, y) != bk) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

CardBytes Blank(int w, int h) {
  CardBytes c;
  c.Set("Application", "Width", std::to_string(w)).Set("Application", "Height", std::to_string(h));
  c.Set("Application", "BkColor", std::to_string(Rgb(255, 255, 255)));
  return c;
}

}  // namespace

TEST(CardStage, DrawsBackgroundAndLabelTextAtItsPlaceInItsColour) {
  CardBytes c = player_fixture::SmallCard();
  c.Set("Application", "BkColor", std::to_string(Rgb(0, 0, 255)));
  c.Set("Label1", "FontColor", std::to_string(Rgb(255, 255, 0))).Set("Label1", "Caption", "文字文字文字");
  c.Set("Label1", "FontItlic", "False").Set("Label1", "FontSize", "14");
  Played p(c.Build());
  auto frame = p->Render(0);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->Width(), 300);
  EXPECT_EQ(frame->Height(), 200);
  // The label lies at (10, 20) 100 x 40: its text is yellow there and nowhere else.
  EXPECT_GT(CountYellowInk(*frame, {10, 20, 110, 60}), 40);
  EXPECT_EQ(CountYellowInk(*frame, {0, 0, 300, 20}), 0);
  EXPECT_EQ(CountYellowInk(*frame, {0, 0, 10, 200}), 0);
  EXPECT_EQ(CountYellowInk(*frame, {110, 0, 300, 160}), 0);
  EXPECT_EQ(frame->PixelColor(5, 5), Rgb(0, 0, 255));
  // The button is flat: only its caption shows until the mouse is over it.
  EXPECT_EQ(frame->PixelColor(200, 170), Rgb(0, 0, 255));
  p->MouseMove(10, 201, 171);
  EXPECT_EQ(p->Render(10)->PixelColor(200, 170), Rgb(255, 255, 255));  // raised edge
}

TEST(CardStage, CaptionsScrollWithTimeInEachWay) {
  for (int way = 0; way < 4; ++way) {
    SCOPED_TRACE(way);
    CardBytes c = Blank(200, 100);
    c.Set("Application", "lmsclCount", "1");
    c.Set("lmscl1", "Tag", "1").Set("lmscl1", "Left", "0").Set("lmscl1", "Top", "0").Set("lmscl1", "Width", "120");
    c.Set("lmscl1", "Height", "60").Set("lmscl1", "SD", "20").Set("lmscl1", "Txt1", "字");
    c.Set("lmscl1", "Way", std::to_string(way)).Set("lmscl1", "BKColor", std::to_string(Rgb(255, 255, 255)));
    c.Set("lmscl1", "FontColor", "0").Set("lmscl1", "FontSize", "12");
    Played p(c.Build());
    p->Start(1000, {800, 600}, 200, 100);
    // The first tick shows position 0 again; each later tick one pixel further.
    p->Advance(1019);
    EXPECT_EQ(p->CaptionPosition(1), 0);
    p->Advance(1020);
    EXPECT_EQ(p->CaptionPosition(1), 0);
    // Position P is shown from the tick at 1020 + 20 P on.
    const int P = way == 3 ? 130 : 10;
    p->Advance(1020 + 20 * P - 1);
    EXPECT_EQ(p->CaptionPosition(1), P - 1);
    EXPECT_EQ(p->NextChangeAt(), 1020 + 20 * P);
    auto frame = p->Render(1020 + 20 * P);
    EXPECT_EQ(p->CaptionPosition(1), P);
    const auto [first, last] = InkColumns(*frame, {0, 0, 120, 60}, Rgb(255, 255, 255));
    int top = -1;
    for (int y = 0; y < 60 && top < 0; ++y)
      for (int x = 0; x < 120; ++x)
        if (frame->PixelColor(x, y) != Rgb(255, 255, 255)) {
          top = y;
          break;
        }
    ASSERT_GE(first, 0);
    switch (way) {
      case 0: EXPECT_GE(top, 50); break;                       // the line's cell at y = H - p
      case 1: EXPECT_TRUE(top >= 10 && top < 22) << top; break;  // at y = p
      case 2: EXPECT_TRUE(first >= 110 && first < 114) << first; break;  // at x = W - p
      case 3: EXPECT_TRUE(first >= 10 && first < 14) << first; break;    // at x = p - W
    }
    EXPECT_LT(last, 120);
  }
}

TEST(CardStage, CaptionStartsAgainAfterItsLimit) {
  CardBytes c = Blank(300, 100);
  c.Set("Application", "lmsclCount", "1");
  c.Set("lmscl1", "Tag", "3").Set("lmscl1", "Width", "200").Set("lmscl1", "Height", "50").Set("lmscl1", "SD", "10");
  c.Set("lmscl1", "Txt1", "abc").Set("lmscl1", "Way", "2");
  Played p(c.Build());
  p->Start(0, {800, 600}, 300, 100);
  // Right to left over a width of 200: positions 0..400, then 0 again (401 ticks a round).
  p->Advance(10 * 401);
  EXPECT_EQ(p->CaptionPosition(3), 400);
  p->Advance(10 * 402);
  EXPECT_EQ(p->CaptionPosition(3), 0);
  p->Advance(10 * (402 + 401 * 1000 + 5));  // a long pause lands where stepping would
  EXPECT_EQ(p->CaptionPosition(3), 5);
}

TEST(CardStage, ClicksRunTheElementsActions) {
  CardBytes c = player_fixture::SmallCard();
  const int blue = c.AddMedia(Bmp(12, 10, Rgb(0, 0, 255)));
  const int red = c.AddMedia(Bmp(30, 20, Rgb(255, 0, 0)));
  c.Set("Application", "ImageCount", "1");
  c.Set("Image1", "AutoSize", "True").Set("Image1", "Filename", "C:\\p\\red.bmp").Set("Image1", "FilenameId", std::to_string(red));
  c.Set("Image1", "Hint", "点我").Set("Image1", "Cursor", "1");
  c.Set("Image1", "Left", "50").Set("Image1", "Top", "60").Set("Image1", "Width", "5").Set("Image1", "Height", "5");
  c.Set("Image1", "Tag", "2").Set("Image1", "Ind", "5").Set("Image1", "Cmd", "图片2改为设置值1中的值");
  c.Set("Image1", "Pic", "C:\\p\\blue.bmp").Set("Image1", "PicUrl", std::to_string(blue));
  c.Set("Label1", "Cmd", "文本框1的内容改为设置值2中的值").Set("Label1", "Text", "新的<%BR%>内容");
  Played p(c.Build());
  p->Start(0, {800, 600}, 300, 200);

  // The image at its natural size, with its hint and hand cursor.
  EXPECT_EQ(p->ElementRect(ElementKind::Image, 2), (player::Rect{50, 60, 30, 20}));
  EXPECT_EQ(p->Render(0)->PixelColor(79, 79), Rgb(255, 0, 0));
  p->MouseMove(1, 60, 70);
  EXPECT_EQ(p->Cursor(), stage::StageCursor::Hand);
  EXPECT_EQ(p->Hint(), "点我");

  p->MouseDown(2, 60, 70);
  p->MouseUp(3, 60, 70);
  EXPECT_EQ(p->ElementRect(ElementKind::Image, 2), (player::Rect{50, 60, 12, 10}));
  auto frame = p->Render(4);
  EXPECT_EQ(frame->PixelColor(55, 65), Rgb(0, 0, 255));
  EXPECT_NE(frame->PixelColor(79, 79), Rgb(255, 0, 0));

  // Pressed on the label, released outside it: no click.
  p->MouseDown(5, 15, 25);
  p->MouseUp(6, 250, 25);
  EXPECT_EQ(p->LabelText(1), "第一行\r\n第二行");
  p->MouseDown(7, 15, 25);
  p->MouseUp(8, 16, 26);
  EXPECT_EQ(p->LabelText(1), "新的\r\n内容");

  EXPECT_FALSE(p.hosts.ui.closed);
  p->MouseDown(9, 210, 175);
  p->MouseUp(10, 210, 175);  // "结束贺卡运行"
  EXPECT_TRUE(p.hosts.ui.closed);
}

TEST(CardStage, ProgramsRunOnlyAfterTheUserAgreed) {
  testing_support::TempDir files;
  const std::string program = files.File("tool.exe");
  ASSERT_TRUE(testing_support::WriteBytes(program, "MZ"));
  CardBytes c = player_fixture::SmallCard();
  c.Set("Label1", "Cmd", "打开设置值1中的文件").Set("Label1", "Pic", program);
  Played p(c.Build());
  p->Start(0, {800, 600}, 300, 200);
  p->MouseDown(1, 15, 25);
  p->MouseUp(2, 15, 25);
  ASSERT_EQ(p.hosts.ui.messages.size(), 1u);
  EXPECT_NE(p.hosts.ui.messages[0].find("要运行这个程序吗"), std::string::npos);
  EXPECT_TRUE(p.hosts.navigator.calls.empty());
  p.hosts.ui.answer = platform::MsgResult::Yes;
  p->MouseDown(3, 15, 25);
  p->MouseUp(4, 15, 25);
  EXPECT_EQ(p.hosts.navigator.calls, (std::vector<std::string>{"run " + program}));
}

TEST(CardStage, WindowStartsMovesAndCloses) {
  CardBytes c = player_fixture::SmallCard();
  c.Set("Application", "SPos", "3").Set("Application", "EPos", "9").Set("Application", "MoveSD", "5");
  const int music = c.AddMedia("RIFF....WAVE");
  c.Set("Application", "Music", std::to_string(music)).Set("Application", "MusicName", "C:\\m\\song.wav");
  c.Set("Application", "OnClose", "1").Set("Application", "OnCloseSet", "http://example.org/");
  stage::StageOptions o = stage_fixture::Quiet();
  o.move = o.playMusic = o.runWindowActions = true;
  Played p(c.Build(), o);
  p->Start(100, {800, 600}, 300, 200);
  ASSERT_TRUE(p->Motion());
  const stage::ScreenRect start = p.hosts.ui.window;
  EXPECT_EQ(p->NextChangeAt(), 105);
  p->Advance(114);  // two steps of 5 ms along the top edge, towards the top-right corner
  EXPECT_EQ(p.hosts.ui.window.left, start.left + 2);
  EXPECT_EQ(p.hosts.ui.window.top, start.top);
  EXPECT_EQ(p.hosts.sound.music.empty(), false);
  p->Close();
  p->Advance(500);
  EXPECT_EQ(p.hosts.ui.window.left, start.left + 2);  // nothing moves after closing
  EXPECT_TRUE(p.hosts.sound.music.empty());
  EXPECT_EQ(p.hosts.navigator.calls, (std::vector<std::string>{"open http://example.org/"}));
}

TEST(CardStage, GifFramesFollowTheirDelays) {
  platform::GifAnimation gif;
  gif.width = 4;
  gif.height = 4;
  for (int k = 0; k < 3; ++k) {
    platform::GifFrame f;
    f.width = f.height = 4;
    f.image = Bitmap::Create(4, 4, platform::PixelFormat::Bgra32);
    f.image->Fill(k == 0 ? Rgb(255, 0, 0) : k == 1 ? Rgb(0, 255, 0) : Rgb(0, 0, 255));
    f.delay = k == 0 ? 0 : k == 1 ? 20 : 5;  // 0 plays at 100 ms
    f.hasControlBlock = true;
    gif.frames.push_back(std::move(f));
  }
  const auto bytes = platform::EncodeGif(gif);
  CardBytes c = Blank(50, 50);
  const int id = c.AddMedia(std::string(bytes.begin(), bytes.end()));
  c.Set("Application", "GIFCount", "1");
  c.Set("Gif1", "Tag", "1").Set("Gif1", "Left", "0").Set("Gif1", "Top", "0").Set("Gif1", "Width", "20");
  c.Set("Gif1", "Height", "20").Set("Gif1", "Filename", "C:\\g\\a.gif").Set("Gif1", "FilenameId", std::to_string(id));
  Played p(c.Build());
  p->Start(0, {800, 600}, 50, 50);
  const std::vector<std::pair<int, int>> expected = {{0, 0}, {99, 0}, {100, 1}, {299, 1}, {300, 2}, {349, 2}, {350, 0}, {450, 1}};
  for (const auto& [t, frame] : expected) {
    p->Advance(t);
    EXPECT_EQ(p->PictureFrame(ElementKind::Gif, 1), frame) << t;
  }
  EXPECT_EQ(p->NextChangeAt(), 650);
  EXPECT_EQ(p->Render(460)->PixelColor(19, 19), Rgb(0, 255, 0));  // stretched over 20 x 20
}

TEST(CardStage, MaskGivesTheShapeAndTheSize) {
  auto mask = Bitmap::Create(40, 30, platform::PixelFormat::Bgr24);
  mask->Fill(Rgb(0, 0, 0));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 20; ++x) mask->SetPixelColor(x, y, platform::kClWhite);
  const auto maskBytes = platform::EncodeBmp(*mask);
  CardBytes c = Blank(400, 300);
  const int m = c.AddMedia(std::string(maskBytes.begin(), maskBytes.end()));
  c.Set("Application", "YxPic", std::to_string(m)).Set("Application", "YxPicName", "C:\\m\\shape.bmp");
  Played p(c.Build());
  EXPECT_EQ(p->Width(), 40);
  EXPECT_EQ(p->Height(), 30);
  EXPECT_EQ(p->Shape().Bounds(), platform::Rect(20, 0, 40, 30));
  auto bits = p->ShapeMask();
  EXPECT_EQ(bits->PixelColor(5, 5), Rgb(0, 0, 0));
  EXPECT_EQ(bits->PixelColor(25, 5), Rgb(255, 255, 255));
}

TEST(CardStage, HigherStackingLiesInFront) {
  // Label (Ind 1) under a caption (Ind 4) under an image (Ind 5), all overlapping at (60, 30).
  CardBytes c = player_fixture::SmallCard();
  const int red = c.AddMedia(Bmp(30, 20, Rgb(255, 0, 0)));
  c.Set("Application", "ImageCount", "1").Set("Application", "lmsclCount", "1");
  c.Set("Image1", "Filename", "C:\\p\\red.bmp").Set("Image1", "FilenameId", std::to_string(red));
  c.Set("Image1", "Left", "55").Set("Image1", "Top", "25").Set("Image1", "Width", "30").Set("Image1", "Height", "20");
  c.Set("Image1", "Tag", "2").Set("Image1", "Ind", "5");
  c.Set("lmscl1", "Tag", "1").Set("lmscl1", "Left", "40").Set("lmscl1", "Top", "10").Set("lmscl1", "Width", "120");
  c.Set("lmscl1", "Height", "40").Set("lmscl1", "Ind", "4").Set("lmscl1", "BKColor", std::to_string(Rgb(0, 255, 0)));
  Played p(c.Build());
  EXPECT_EQ(p->HitAt(60, 30), (stage::StageHit{ElementKind::Image, 2}));
  EXPECT_EQ(p->HitAt(45, 30), (stage::StageHit{ElementKind::Scl, 1}));
  EXPECT_EQ(p->HitAt(15, 30), (stage::StageHit{ElementKind::Label, 1}));
  EXPECT_EQ(p->HitAt(5, 5), std::nullopt);
  auto frame = p->Render(0);
  EXPECT_EQ(frame->PixelColor(60, 30), Rgb(255, 0, 0));
  EXPECT_EQ(frame->PixelColor(45, 48), Rgb(0, 255, 0));
  // A click on the caption does not reach the label under it.
  c.Set("Label1", "Cmd", "文本框1的内容改为设置值2中的值").Set("Label1", "Text", "新");
  Played q(c.Build());
  q->MouseDown(0, 45, 30);
  q->MouseUp(0, 45, 30);
  EXPECT_EQ(q->LabelText(1), "第一行\r\n第二行");
}
