// The tests' own SWF reader finds the faults a hand-written movie tends to have.
#include "support/swf_check.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

using namespace testing_support;

namespace {

std::string Tag(int code, const std::string& body, bool longForm = false) {
  std::string t;
  auto u16 = [&](int v) { t += static_cast<char>(v & 0xFF); t += static_cast<char>(v >> 8 & 0xFF); };
  if (longForm || body.size() >= 0x3F) {
    u16(code << 6 | 0x3F);
    for (int i = 0; i < 4; ++i) t += static_cast<char>(body.size() >> (8 * i) & 0xFF);
  } else {
    u16(code << 6 | static_cast<int>(body.size()));
  }
  return t + body;
}

std::string U16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }

std::string Zlib(const std::string& raw) {
  uLongf size = compressBound(raw.size());
  std::string out(size, '\0');
  compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()), raw.size());
  out.resize(size);
  return out;
}

// A 200 x 150 stage at 25 frames a second holding the given tags.
std::string Movie(const std::string& tags, int frames, bool compressed = false) {
  // RECT with 13-bit fields: 0, 4000, 0, 3000 twips.
  const std::string rect = {'\x68', '\x00', '\x1F', '\x40', '\x00', '\x05', '\xDC', '\x00'};
  const std::string body = rect + U16(25 << 8) + U16(frames) + tags;
  std::string len;
  for (int i = 0; i < 4; ++i) len += static_cast<char>((body.size() + 8) >> (8 * i) & 0xFF);
  return (compressed ? std::string("CWS\x06", 4) : std::string("FWS\x06", 4)) + len + (compressed ? Zlib(body) : body);
}

// A 1 x 1 DefineBitsLossless2 picture with the given A, R, G, B.
std::string Picture(int id, std::string argb) { return Tag(36, U16(id) + '\x05' + U16(1) + U16(1) + Zlib(argb)); }

std::string Place(int id, int depth) { return Tag(26, std::string(1, '\x02') + U16(depth) + U16(id)); }

const std::string kShow = Tag(1, ""), kEnd = Tag(0, "");

}  // namespace

TEST(SwfCheck, AWellFormedMovieIsReadTagByTag) {
  const std::string sprite = Tag(39, U16(2) + U16(2) + Place(1, 1) + kShow + kShow + kEnd);
  for (bool compressed : {false, true}) {
    SwfCheck c = CheckSwfBytes(Movie(Picture(1, "\x80\x40\x20\x80") + sprite + Place(2, 1) + kShow + kEnd, 1, compressed));
    EXPECT_TRUE(c.Ok()) << c.Describe();
    EXPECT_EQ(c.signature, compressed ? "CWS" : "FWS");
    EXPECT_EQ(c.width, 200);
    EXPECT_EQ(c.height, 150);
    EXPECT_DOUBLE_EQ(c.frameRate, 25);
    EXPECT_EQ(c.frameCount, 1);
    EXPECT_EQ(c.Count("ShowFrame"), 3);
    EXPECT_EQ(c.Count("PlaceObject2"), 2);
    ASSERT_EQ(c.tags.size(), 9u);
    EXPECT_EQ(c.tags[2].depth, 1);  // inside the sprite
  }
}

TEST(SwfCheck, FindsTheFaultsOfHandWrittenMovies) {
  const struct {
    std::string movie, problem;
  } cases[] = {
      {Movie(kShow + kShow + kEnd, 1), "the header says 1 frames, found 2"},
      {Movie(kShow, 1), "no End tag"},
      {Movie(kShow + kEnd + "xx", 1), "2 bytes after the End tag"},
      {Movie(Place(7, 1) + kShow + kEnd, 1), "uses character 7 that is not defined before it"},
      {Movie(Picture(1, "\x80\x40\x20\x90") + kShow + kEnd, 1), "1 pixels have a colour above their alpha"},
      {Movie(Picture(1, "\x80\x40\x20\x80") + Picture(1, "\xFF\x00\x00\x00") + kShow + kEnd, 1),
       "character id 1 is defined twice"},
      {Movie(Tag(39, U16(3) + U16(1) + Tag(9, "\x01\x02\x03") + kShow + kEnd) + kShow + kEnd, 1),
       "SetBackgroundColor is not allowed inside DefineSprite"},
      {Movie(Tag(19, "abc") + kShow + kEnd, 1), "SoundStreamBlock before any SoundStreamHead"},
      {Movie(kShow + kEnd, 1).substr(0, 20) + Tag(12, std::string(100, 'a'), true).substr(0, 8), "says 100 bytes"},
  };
  for (const auto& c : cases) {
    SwfCheck check = CheckSwfBytes(c.movie);
    std::string all;
    for (const auto& p : check.problems) all += p + "\n";
    EXPECT_NE(all.find(c.problem), std::string::npos) << "want \"" << c.problem << "\", got:\n" << all;
  }
  std::string cut = Movie(kShow + kEnd, 1, true);
  EXPECT_FALSE(CheckSwfBytes(cut.substr(0, cut.size() - 4)).Ok());
  EXPECT_FALSE(CheckSwfBytes("GIF89a....").Ok());
}
