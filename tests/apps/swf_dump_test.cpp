// cardtool swf-dump reads any file it is given: damaged movies are reported, not followed.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

std::string Le(uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
  return s;
}

// An uncompressed movie: its stage rectangle written with `nbits` bits a field, 12 fps, then the tags.
std::string Movie(int nbits, const int32_t (&rect)[4], uint16_t frames, const std::string& tags) {
  std::string bits;
  for (int i = 4; i >= 0; --i) bits += ((nbits >> i) & 1) ? '1' : '0';
  for (int32_t v : rect)
    for (int i = nbits - 1; i >= 0; --i) bits += ((static_cast<uint32_t>(v) >> i) & 1) ? '1' : '0';
  while (bits.size() % 8) bits += '0';
  std::string header;
  for (size_t i = 0; i < bits.size(); i += 8) header += static_cast<char>(std::stoi(bits.substr(i, 8), nullptr, 2));
  std::string body = header + Le(12 << 8, 2) + Le(frames, 2) + tags;
  return "FWS" + std::string(1, '\x06') + Le(static_cast<uint32_t>(8 + body.size()), 4) + body;
}

testing_support::ProgramRun Dump(const testing_support::TempDir& dir, const std::string& movie) {
  EXPECT_TRUE(testing_support::WriteBytes(dir.File("m.swf"), movie));
  return testing_support::RunProgram("'" + std::string(CARD_PROGRAM_DIR) + "/cardtool' swf-dump '" + dir.HostPath() +
                                     "m.swf' 2>&1");
}

}  // namespace

TEST(SwfDump, DamagedMoviesAreReportedNotFollowed) {
  testing_support::TempDir dir;
  const std::string end = Le(0, 2), showFrame = Le(1 << 6, 2);

  // The widest stage fields (31 bits) keep their signs: 2^31 - 1 twips across.
  testing_support::ProgramRun wide = Dump(dir, Movie(31, {-(1 << 30), (1 << 30) - 1, 0, 12000}, 1, showFrame + end));
  EXPECT_EQ(wide.exitCode, 0) << wide.output;
  EXPECT_NE(wide.output.find("stage 107374182x600 px"), std::string::npos) << wide.output;

  // Sprites inside sprites, 100000 deep: the listing stops instead of following them down.
  const int levels = 100000;
  std::string nested;
  for (int i = 0; i < levels; ++i)  // each sprite holds the ones below it (10 bytes each) and the end tag
    nested += Le(39 << 6 | 0x3F, 2) + Le(4 + 10 * (levels - 1 - i) + 2, 4) + Le(1, 2) + Le(0, 2);
  nested += end;
  testing_support::ProgramRun deep = Dump(dir, Movie(16, {0, 16000, 0, 12000}, 0, nested + end));
  EXPECT_EQ(deep.exitCode, 1) << deep.output.substr(0, 300);
  EXPECT_NE(deep.output.find("! sprites nested more than 32 deep"), std::string::npos);

  // A tag longer than what is left of the movie.
  testing_support::ProgramRun cut = Dump(dir, Movie(16, {0, 16000, 0, 12000}, 1, Le(2 << 6 | 10, 2) + "abc"));
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_NE(cut.output.find("! tag 2 runs past its end"), std::string::npos) << cut.output;
}
