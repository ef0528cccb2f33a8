// Bad input never makes the writer emit a malformed movie: damaged packets are refused,
// the movie stays well formed (checked by an independent reader), music and JPEG as asked.
#include <random>

#include "flashwriter/flash_test_support.h"

using namespace flashtest;
using testing_support::CheckSwf;

namespace {

bool Photo(const std::vector<uint8_t>& p, int showMs = 1000) {
  return FlashDll::Get().AddPhoto(p.data(), (int32_t)p.size(), showMs, 1, 200, 1, 200, 0, 0, 0, 0, 10, 0, 0,
                                  0, 0, 0, 0, 1, 0);
}

bool Sprinkle(const std::vector<uint8_t>& p) {
  int32_t pos[2] = {9, (100 << 16) + 100};
  return FlashDll::Get().AddSprinkle(p.data(), (int32_t)p.size(), 9, pos, 0, 0, 0, 1, 0, 1, 1000, 3, 4, 300,
                                     300, true, 1, 1.5f, 0.5f);
}

// Synthetic MP3: frames of silence with valid layer III headers (MPEG 1, 128 kbit/s).
std::string FakeMp3(const fs::path& path, int frames, uint8_t rateBits) {
  std::string bytes = "ID3\x03";
  bytes += std::string("\0\0\0\0\0\x0A", 6) + std::string(10, '\0');
  for (int i = 0; i < frames; ++i) {
    std::string f(417, '\0');  // 144 * 128000 / 44100
    f[0] = '\xFF'; f[1] = '\xFB'; f[2] = static_cast<char>(0x90 | rateBits); f[3] = '\x44';
    bytes += f;
  }
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

class FlashInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(FlashDll::Get().handle, nullptr);
  }
  void TearDown() override { FlashDll::Get().FreeFlashObj(); }
};

}  // namespace

TEST_F(FlashInput, DamagedPacketsAreRefusedAndTheMovieStaysWellFormed) {
  auto& dll = FlashDll::Get();
  fs::path dir = TestDir("input");
  EXPECT_FALSE(dll.FlashToFile((dir / "none.swf").c_str()));  // no movie yet
  EXPECT_FALSE(dll.CreateFlash(0, 600, 0, 0, true, true, nullptr, nullptr));
  ASSERT_TRUE(dll.CreateFlash(320, 240, 0, 0, true, false, nullptr, nullptr));
  ASSERT_TRUE(dll.CreateBackGround(0xFF00000F, 0x00FF00, 0, nullptr, 0, 0));  // a system colour
  const auto good = MakePacket(16, 16, {100, 100}, MakeBmp(32, 16, [](int x, int y) {
    return (x + y) % 3 ? 0x80FF8000u : 0xFF0000FFu; }));
  EXPECT_TRUE(Sprinkle(good));
  // Refused: empty, too short, bad sizes and counts, delay table past the end, no BMP,
  // a sheet smaller than one frame, a BMP whose pixels are cut off.
  std::vector<std::vector<uint8_t>> bad = {{}, {1, 2, 3}};
  bad.push_back(MakePacket(0, 16, {100}, MakeBmp(16, 16, [](int, int) { return 0xFFFFFFFFu; })));
  bad.push_back(MakePacket(16, 16, {}, MakeBmp(16, 16, [](int, int) { return 0xFFFFFFFFu; })));
  bad.push_back(MakePacket(64, 16, {100}, MakeBmp(16, 16, [](int, int) { return 0xFFFFFFFFu; })));
  bad.push_back(MakePacket(1 << 20, 1 << 20, {100}, MakeBmp(4, 4, [](int, int) { return 0xFFFFFFFFu; })));
  auto cut = good;
  cut.resize(cut.size() - 40);
  bad.push_back(cut);
  auto noBmp = good;
  noBmp[16] = 'X';
  bad.push_back(noBmp);
  auto hugeCount = good;
  hugeCount[8] = 0xFF; hugeCount[9] = 0xFF; hugeCount[10] = 0xFF; hugeCount[11] = 0x7F;
  bad.push_back(hugeCount);
  for (size_t i = 0; i < bad.size(); ++i) {
    EXPECT_FALSE(Sprinkle(bad[i])) << "packet " << i;
    EXPECT_FALSE(dll.CreateTitle(bad[i].data(), (int32_t)bad[i].size(), 0, 0)) << "packet " << i;
  }
  // Random damage: whatever is accepted or refused, the movie is well formed.
  std::mt19937 rng(1234);
  for (int i = 0; i < 300; ++i) {
    auto p = good;
    for (int k = 0; k < 1 + i % 4; ++k) p[rng() % p.size()] = static_cast<uint8_t>(rng());
    if (i % 7 == 0) p.resize(rng() % p.size());
    Sprinkle(p);
  }
  // A scene with a refused picture keeps its time: two scenes of 1.4 s = 70 frames.
  EXPECT_FALSE(Photo({9, 9, 9}));
  EXPECT_TRUE(Photo(SolidPacket(320, 240, 0xFF336699)));
  fs::path swf = dir / "damaged.swf";
  ASSERT_TRUE(dll.FlashToFile(swf.c_str())) << dll.LastError();
  auto check = CheckSwf(swf);
  EXPECT_TRUE(check.Ok()) << check.Describe();
  EXPECT_EQ(check.frameCount, 70);
  std::string why;
  EXPECT_TRUE(testing_support::SecondReaderReads(swf, &why)) << why;
  EXPECT_FALSE(dll.FlashToFile((dir / "no/such/folder/x.swf").c_str()));
}

TEST_F(FlashInput, MusicBecomesAStreamForTheMovieLengthAndOddRatesAreRefused) {
  auto& dll = FlashDll::Get();
  fs::path dir = TestDir("music");
  ASSERT_TRUE(dll.CreateFlash(100, 100, 100, 100, false, true, "x", nullptr));
  ASSERT_TRUE(dll.CreateBackGround(0, 0, 0, nullptr, 0, 0));
  // 48 kHz cannot be stated in an SWF sound header.
  std::string odd = FakeMp3(dir / "odd.mp3", 50, 0x04);
  EXPECT_FALSE(dll.AddSound(odd.c_str(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0));
  EXPECT_FALSE(dll.AddSound((dir / "missing.mp3").c_str(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0));
  // 115 frames of 1152 samples at 44.1 kHz = 3.0 s; the scene lasts 2 s.
  std::string mp3 = FakeMp3(dir / "m.mp3", 115, 0x00);
  ASSERT_TRUE(dll.AddSound(mp3.c_str(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0));
  ASSERT_TRUE(dll.CreateSound());
  EXPECT_TRUE(Photo(SolidPacket(50, 50, 0xFFFF0000), 1600));
  fs::path swf = dir / "music.swf";
  ASSERT_TRUE(dll.FlashToFile(swf.c_str())) << dll.LastError();
  auto check = CheckSwf(swf);
  EXPECT_TRUE(check.Ok()) << check.Describe();
  EXPECT_EQ(check.frameCount, 76);  // 3.004 s at 25 frames a second
  EXPECT_EQ(check.Count("SoundStreamHead2"), 1);
  EXPECT_GE(check.Count("SoundStreamBlock"), 75);
}

TEST_F(FlashInput, JpegOptionMakesPhotoMoviesSmallerAndKeepsFlatPicturesLossless) {
  auto& dll = FlashDll::Get();
  fs::path dir = TestDir("jpeg");
  std::mt19937 rng(5);
  auto photoBmp = MakeBmp(400, 300, [&](int x, int y) {
    int n = rng() % 24;
    return 0xFF000000u | (((x * 255 / 400 + n) & 0xFF) << 16) | (((y * 255 / 300 + n) & 0xFF) << 8) | ((x + y + n) & 0xFF);
  });
  auto photo = MakePacket(400, 300, {100}, photoBmp);
  auto flat = SolidPacket(100, 100, 0xFF123456);
  uintmax_t sizes[2];
  for (int jpeg = 0; jpeg < 2; ++jpeg) {
    ASSERT_TRUE(dll.CreateFlash(400, 300, 400, 300, jpeg, true, nullptr, nullptr));
    ASSERT_TRUE(Photo(photo));
    ASSERT_TRUE(Photo(flat));
    fs::path swf = dir / (jpeg ? "jpeg.swf" : "lossless.swf");
    ASSERT_TRUE(dll.FlashToFile(swf.c_str()));
    dll.FreeFlashObj();
    auto check = CheckSwf(swf);
    EXPECT_TRUE(check.Ok()) << check.Describe();
    EXPECT_EQ(check.Count("DefineBitsJPEG2") > 0, jpeg == 1);
    EXPECT_GT(check.Count("DefineBitsLossless") + check.Count("DefineBitsLossless2"), 0);  // the flat picture
    sizes[jpeg] = fs::file_size(swf);
  }
  EXPECT_LT(sizes[1] * 3, sizes[0]) << sizes[1] << " vs " << sizes[0];
}
