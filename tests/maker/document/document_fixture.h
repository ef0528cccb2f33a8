#pragma once
// Shared set-up of the document tests: a temporary program folder, scripted dialogs, and small
// picture files written byte by byte.
#include <gtest/gtest.h>

#include <string>

#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace document_test {

inline std::string Le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
inline std::string Le32(int v) { return Le16(v & 0xFFFF) + Le16((v >> 16) & 0xFFFF); }

// A 24-bit BMP header of the given size (the pixel data is not needed to measure it).
inline std::string BmpBytes(int w, int h) {
  return "BM" + Le32(54) + Le32(0) + Le32(54) + Le32(40) + Le32(w) + Le32(h) + Le16(1) + Le16(24) +
         std::string(24, '\0');
}
inline std::string GifBytes(int w, int h) { return "GIF89a" + Le16(w) + Le16(h) + std::string(4, '\0'); }
inline std::string JpegBytes(int w, int h) {
  std::string app0 = "\xFF\xE0" + std::string("\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 16);
  std::string sof = std::string("\xFF\xC0\x00\x11\x08", 5) + static_cast<char>(h >> 8) + static_cast<char>(h & 0xFF) +
                    static_cast<char>(w >> 8) + static_cast<char>(w & 0xFF) + std::string(10, '\x01');
  return std::string("\xFF\xD8", 2) + app0 + sof + "\xFF\xD9";
}

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldFolder_ = platform::paths::ProgramFolder();
    platform::paths::SetProgramFolder(dir.Path());
    platform::profile::ClearCache();
  }
  void TearDown() override { platform::paths::SetProgramFolder(oldFolder_); }

  // Writes a file into the temporary folder and returns its system path.
  std::string Make(const std::string& name, const std::string& bytes) {
    std::string p = dir.File(name);
    EXPECT_TRUE(testing_support::WriteBytes(p, bytes));
    return p;
  }

  testing_support::TempDir dir;
  platform::ScriptedDialogs dialogs;

 private:
  std::string oldFolder_;
};

}  // namespace document_test
