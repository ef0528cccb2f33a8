#pragma once
// A program folder of its own for each packaging test: stub programs, default.txt, the FORM
// files, and helpers that draw icon files.
#include <gtest/gtest.h>

#include <string>

#include "maker/packaging/side_files.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace packaging_test {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

// Bytes that stand in for a player program: an executable's first bytes, recognisable, and as
// long as asked.
inline std::string StubBytes(char tag, size_t size) {
  std::string s = std::string("MZ STUB") + tag + "\n";
  while (s.size() < size) s += static_cast<char>('a' + s.size() % 26);
  s.resize(size);
  return s;
}

// An icon file with one width x height image of the given depth (4, 8 or 32 bits); pixel
// colours follow a pattern, the AND mask makes the first column transparent.
inline std::string IconFile(int width, int height, int bpp) {
  auto put32 = [](std::string& o, uint32_t v) {
    for (int i = 0; i < 4; ++i) o += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto put16 = [](std::string& o, uint16_t v) {
    o += static_cast<char>(v & 0xFF);
    o += static_cast<char>(v >> 8);
  };
  const int paletteCount = bpp <= 8 ? (1 << bpp) : 0;
  const size_t xorStride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
  const size_t andStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  std::string dib;
  put32(dib, 40);
  put32(dib, width);
  put32(dib, height * 2);
  put16(dib, 1);
  put16(dib, bpp);
  put32(dib, 0);
  put32(dib, static_cast<uint32_t>((xorStride + andStride) * height));
  for (int i = 0; i < 4; ++i) put32(dib, 0);
  for (int i = 0; i < paletteCount; ++i) put32(dib, static_cast<uint32_t>(i * 0x010203) & 0xFFFFFF);
  for (int y = height - 1; y >= 0; --y) {
    std::string row(xorStride, '\0');
    for (int x = 0; x < width; ++x) {
      int v = (x * 7 + y * 3) % (paletteCount ? paletteCount : 256);
      if (bpp == 32) {
        row[x * 4] = static_cast<char>(v);
        row[x * 4 + 1] = static_cast<char>(x * 8);
        row[x * 4 + 2] = static_cast<char>(y * 8);
        row[x * 4 + 3] = static_cast<char>(x == 0 ? 0 : 255);
      } else if (bpp == 8) {
        row[x] = static_cast<char>(v);
      } else {  // 4
        row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 ? v : v << 4));
      }
    }
    dib += row;
  }
  for (int y = 0; y < height; ++y) {
    std::string row(andStride, '\0');
    row[0] = static_cast<char>(0x80);
    dib += row;
  }
  std::string ico;
  put16(ico, 0);
  put16(ico, 1);
  put16(ico, 1);
  ico += static_cast<char>(width);
  ico += static_cast<char>(height);
  ico += static_cast<char>(paletteCount == 256 ? 0 : paletteCount);
  ico += '\0';
  put16(ico, 1);
  put16(ico, bpp);
  put32(ico, static_cast<uint32_t>(dib.size()));
  put32(ico, 22);
  return ico + dib;
}

class PackagingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldFolder_ = platform::paths::ProgramFolder();
    platform::paths::SetProgramFolder(dir_.Path());
    platform::profile::ClearCache();
    // The EXE card players and their side files, in their folder; default.txt beside the programs.
    ASSERT_TRUE(platform::files::CreateFolder(Pf("windows")));
    WriteBytes(Wf("exe1.exe"), StubBytes('1', 210000));
    WriteBytes(Wf("exe2.exe"), StubBytes('2', 240000));
    WriteBytes(Wf("exe3.exe"), StubBytes('3', 250000));
    WriteBytes(Pf("default.txt"), packaging::HeaderFileBytes());
    WriteBytes(Wf("FORM1.obj"), packaging::FormFileBytes(1));
    WriteBytes(Wf("FORM3.obj"), packaging::FormFileBytes(3));
    WriteBytes(Wf("FORM4.obj"), packaging::FormFileBytes(4));
  }
  void TearDown() override {
    platform::paths::SetProgramFolder(oldFolder_);
    platform::profile::ClearCache();
  }

  // A file in the test's program folder.
  std::string Pf(std::string_view name) const { return dir_.File(name); }
  // A file in the folder of the EXE card players.
  std::string Wf(std::string_view name) const { return dir_.File("windows/" + std::string(name)); }
  std::string Write(std::string_view name, std::string_view bytes) {
    EXPECT_TRUE(WriteBytes(Pf(name), bytes));
    return Pf(name);
  }
  // No temporary file of a build is left beside its output.
  bool NoPartialFiles(std::string_view output) const {
    return !platform::files::Exists(std::string(output) + ".~part");
  }

  testing_support::TempDir dir_;
  platform::ScriptedDialogs dialogs_;

 private:
  std::string oldFolder_;
};

}  // namespace packaging_test
