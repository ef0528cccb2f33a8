// Blending, opacity, frame animation, tiling, moves and the loading frames, rendered by Ruffle.
#include "flashwriter/flash_test_support.h"

using namespace flashtest;
using testing_support::CheckSwf;
using testing_support::RenderSwf;

namespace {

bool Sprinkle(const std::vector<uint8_t>& p, int x, int y, int start, int end, int showEff,
              int showMs, int blend) {
  int32_t pos[2] = {9, ((x * 1000 / 200) << 16) + y * 1000 / 150};
  return FlashDll::Get().AddSprinkle(p.data(), (int32_t)p.size(), 9, pos, 0, 0, 0, 1, start, 1, end,
                                     showEff, 0, showMs, 0, false, blend, 1.0f, 1.0f);
}

}  // namespace

TEST(FlashEffects, ScreenBlendOpacityAnimationTilingAndMoves) {
  auto& dll = FlashDll::Get();
  ASSERT_NE(dll.handle, nullptr);
  fs::path dir = TestDir("effects");
  ASSERT_TRUE(dll.CreateFlash(200, 150, 200, 150, false, true, "mintcloverharbors", nullptr));
  auto loading = SolidPacket(20, 20, 0xFFFFFFFF);
  ASSERT_TRUE(dll.CreateLoading(0, loading.data(), (int32_t)loading.size()));
  // Tile: left half red, right half blue, repeated over the stage.
  auto tile = MakePacket(10, 10, {100}, MakeBmp(10, 10, [](int x, int) { return x < 5 ? 0xFFFF0000u : 0xFF0000FFu; }));
  ASSERT_TRUE(dll.CreateBackGround(0, 0, 0, tile.data(), (int32_t)tile.size(), 2));
  // Green screen-blended over red gives yellow, over blue cyan.
  ASSERT_TRUE(Sprinkle(SolidPacket(40, 40, 0xFF00FF00), 100, 0, 0, 5000, 0, 0, 1));
  // White at half opacity: premultiplied (128, 128, 128, 128).
  ASSERT_TRUE(Sprinkle(SolidPacket(40, 40, 0x80FFFFFF), 150, 0, 0, 5000, 0, 0, 0));
  // Two frames, yellow then magenta, 400 ms each.
  auto anim = MakePacket(20, 20, {400, 400}, MakeBmp(40, 20, [](int x, int) { return x < 20 ? 0xFFFFFF00u : 0xFFFF00FFu; }));
  ASSERT_TRUE(Sprinkle(anim, 0, 125, 0, 5000, 0, 0, 0));
  // White square moving in from the left edge over one second to x = 100.
  ASSERT_TRUE(Sprinkle(SolidPacket(20, 20, 0xFFFFFFFF), 100, 100, 0, 5000, 3, 1000, 0));
  fs::path swf = dir / "effects.swf";
  ASSERT_TRUE(dll.FlashToFile(swf.c_str())) << dll.LastError();
  dll.FreeFlashObj();
  auto check = CheckSwf(swf);
  EXPECT_TRUE(check.Ok()) << check.Describe();
  EXPECT_GT(check.Count("DoAction"), 0);
  EXPECT_GT(check.Count("DefineSprite"), 0);

  auto render = RenderSwf(swf, {"0.2", "0.6", "1.1"});
  ASSERT_TRUE(render.Ok()) << render.Describe();
  EXPECT_TRUE(render.playerErrors.empty()) << render.Describe();
  auto& shots = render.shots;
  const auto& a = shots["0.2"];
  EXPECT_TRUE(Near(Pixel(a, 2, 50), 255, 0, 0));        // tile, left half
  EXPECT_TRUE(Near(Pixel(a, 57, 50), 0, 0, 255));       // tile repeated, right half
  EXPECT_TRUE(Near(Pixel(a, 102, 20), 255, 255, 0));    // screen over red
  EXPECT_TRUE(Near(Pixel(a, 107, 20), 0, 255, 255));    // screen over blue
  EXPECT_TRUE(Near(Pixel(a, 152, 20), 255, 128, 128));  // half white over red
  EXPECT_TRUE(Near(Pixel(a, 157, 20), 128, 128, 255));  // half white over blue
  EXPECT_TRUE(Near(Pixel(a, 10, 135), 255, 255, 0));    // first animation frame
  EXPECT_TRUE(Near(Pixel(a, 14, 110), 255, 255, 255));  // moving square near the left
  EXPECT_TRUE(Near(Pixel(shots["0.6"], 10, 135), 255, 0, 255));  // second frame
  EXPECT_TRUE(Near(Pixel(shots["0.6"], 62, 110), 255, 255, 255)); // halfway in
  EXPECT_TRUE(Near(Pixel(shots["1.1"], 10, 135), 255, 255, 0));  // looped to the first
  EXPECT_TRUE(Near(Pixel(shots["1.1"], 110, 110), 255, 255, 255)); // arrived
  EXPECT_FALSE(Near(Pixel(shots["1.1"], 62, 110), 255, 255, 255)); // left its path
}
