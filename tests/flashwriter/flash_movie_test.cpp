// The real Flash.dll's movies played by a real player: Ruffle in headless Chromium renders
// them at chosen times and the pixels are checked.
#include "flashwriter/flash_test_support.h"

using namespace flashtest;
using testing_support::CheckSwf;
using testing_support::RenderSwf;

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00, kMagenta = 0xFFFF00FF;

int32_t Packed(int x, int y, int w, int h) { return ((x * 1000 / w) << 16) + y * 1000 / h; }

bool Sprinkle(const std::vector<uint8_t>& p, int x, int y, int start, int end, int showEff = 0,
              int hideEff = 0, int showMs = 0, int hideMs = 0, bool fade = false, int blend = 0,
              float sx = 1, float sy = 1, int w = 200, int h = 150) {
  int32_t pos[2] = {9, Packed(x, y, w, h)};
  return FlashDll::Get().AddSprinkle(p.data(), (int32_t)p.size(), 9, pos, 0, 0, 0, 1, start, 1, end,
                                     showEff, hideEff, showMs, hideMs, fade, blend, sx, sy);
}

bool Scene(const std::vector<uint8_t>& p, int showMs, int showEff, int showEffMs, int hideEff, int hideEffMs) {
  return FlashDll::Get().AddPhoto(p.data(), (int32_t)p.size(), showMs, showEff, showEffMs, hideEff,
                                  hideEffMs, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 1, 0);
}

class FlashMovie : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(FlashDll::Get().handle, nullptr) << dlerror();
  }
  void TearDown() override {
    if (FlashDll::Get().FreeFlashObj) FlashDll::Get().FreeFlashObj();
  }
};

}  // namespace

// One movie walks the timeline: background colour, the title all along, the first scene,
// a sprinkle present only between its start and end, then the second scene.
TEST_F(FlashMovie, TimelineShowsTitleScenesAndSprinkleAtTheirTimes) {
  auto& dll = FlashDll::Get();
  fs::path dir = TestDir("timeline");
  ASSERT_TRUE(dll.CreateFlash(200, 150, 200, 150, false, true, "mintcloverharbors", nullptr));
  int green = 0x008000;  // 0x00BBGGRR
  ASSERT_TRUE(dll.CreateBackGround(green, green, 0, nullptr, 0, 0));
  auto title = SolidPacket(40, 10, kRed);
  ASSERT_TRUE(dll.CreateTitle(title.data(), (int32_t)title.size(), 80, 8));
  ASSERT_TRUE(Sprinkle(SolidPacket(20, 20, kMagenta), 10, 100, 500, 1500));
  ASSERT_TRUE(Scene(SolidPacket(100, 50, kBlue), 1000, 1, 200, 1, 200));    // 0 .. 1.4 s
  ASSERT_TRUE(Scene(SolidPacket(100, 50, kYellow), 1000, 1, 200, 1, 200));  // 1.4 .. 2.8 s
  fs::path swf = dir / "timeline.swf";
  ASSERT_TRUE(dll.FlashToFile(swf.c_str())) << dll.LastError();
  auto check = CheckSwf(swf);
  EXPECT_TRUE(check.Ok()) << check.Describe();

  auto render = RenderSwf(swf, {"0.3", "1.0", "2.0"});
  ASSERT_TRUE(render.Ok()) << render.Describe();
  EXPECT_TRUE(render.playerErrors.empty()) << render.Describe();
  auto& shots = render.shots;
  EXPECT_TRUE(Near(Pixel(shots["0.3"], 5, 5), 0, 128, 0));      // background colour
  EXPECT_TRUE(Near(Pixel(shots["0.3"], 100, 12), 255, 0, 0));   // title
  EXPECT_TRUE(Near(Pixel(shots["0.3"], 100, 75), 0, 0, 255));   // first scene
  EXPECT_TRUE(Near(Pixel(shots["0.3"], 20, 110), 0, 128, 0));   // sprinkle not yet
  EXPECT_TRUE(Near(Pixel(shots["1.0"], 20, 110), 255, 0, 255)); // sprinkle shown
  EXPECT_TRUE(Near(Pixel(shots["1.0"], 100, 12), 255, 0, 0));
  EXPECT_TRUE(Near(Pixel(shots["2.0"], 20, 110), 0, 128, 0));   // sprinkle gone
  EXPECT_TRUE(Near(Pixel(shots["2.0"], 100, 75), 255, 255, 0)); // second scene
  EXPECT_TRUE(Near(Pixel(shots["2.0"], 100, 12), 255, 0, 0));   // title stays
}
