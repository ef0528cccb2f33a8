#include "maker/document/picture_size.h"

#include <gtest/gtest.h>

#include "document_fixture.h"
#include "platform/error.h"

using namespace document;
using document_test::DocumentTest;
using document_test::Le16;
using document_test::Le32;

TEST_F(DocumentTest, NaturalSizeComesFromEachPictureKindsHeader) {
  struct Case {
    const char* name;
    std::string bytes;
    int w, h;
  } cases[] = {
      {"a.bmp", document_test::BmpBytes(33, -44), 33, 44},  // top-down rows: negative height
      {"a.gif", document_test::GifBytes(300, 2), 300, 2},
      {"a.jpg", document_test::JpegBytes(1024, 768), 1024, 768},
      // Placeable metafile: box 0,0 – 1440,720 at 1440 units per inch.
      {"a.wmf", Le32(static_cast<int>(0x9AC6CDD7u)) + Le16(0) + Le16(0) + Le16(0) + Le16(1440) + Le16(720) +
                    Le16(1440) + std::string(8, '\0'),
       96, 48},
      // Enhanced metafile: frame of 2540 x 1270 hundredths of a millimetre.
      {"a.emf", Le32(1) + Le32(88) + std::string(16, '\0') + Le32(0) + Le32(0) + Le32(2540) + Le32(1270) + " EMF" +
                    std::string(8, '\0'),
       96, 48},
  };
  for (const Case& c : cases) {
    PictureSize s = MeasurePicture(Make(c.name, c.bytes));
    EXPECT_EQ(s.width, c.w) << c.name;
    EXPECT_EQ(s.height, c.h) << c.name;
  }
}

TEST_F(DocumentTest, PicturesThatCannotBeMeasuredRaiseLoadErrors) {
  try {
    MeasurePicture(Make("notes.txt", "hello"));
    FAIL();
  } catch (const platform::LoadError& e) {
    EXPECT_STREQ(e.what(), "Unknown picture file extension (.txt)");
  }
  EXPECT_THROW(MeasurePicture(Make("broken.jpg", "\xFF\xD8\xFF")), platform::LoadError);
  EXPECT_THROW(MeasurePicture(dir.File("missing.bmp")), platform::LoadError);
  // A frame from INT_MIN to INT_MAX is measured without wrapping; a height of INT_MIN does not fit.
  const int kMin = -2147483647 - 1, kMax = 2147483647;
  const PictureSize wide = PictureHeaderSize(Le32(1) + Le32(88) + std::string(16, '\0') + Le32(kMin) + Le32(0) +
                                                 Le32(kMax) + Le32(1270) + " EMF" + std::string(8, '\0'),
                                             "a.emf");
  EXPECT_EQ(wide.width, 162329472);  // (2^32 - 1) hundredths of a millimetre at 96 per inch
  EXPECT_EQ(wide.height, 48);
  EXPECT_THROW(PictureHeaderSize(document_test::BmpBytes(33, kMin), "a.bmp"), platform::LoadError);
}

TEST_F(DocumentTest, AnInstalledMeasurerIsUsed) {
  PictureMeasurer old = SetPictureMeasurer([](std::string_view) { return PictureSize{7, 9}; });
  PictureSize s = MeasurePicture("anything.jpg");
  SetPictureMeasurer(old);
  EXPECT_EQ(s.width, 7);
  EXPECT_EQ(s.height, 9);
  EXPECT_THROW(MeasurePicture("anything.jpg"), platform::LoadError);
}
