#include "maker/document/canvas_geometry.h"

#include <gtest/gtest.h>

using namespace document;

TEST(CanvasGeometry, HandlesSitAroundTheRectangle) {
  HandleSet hs = HandlePositions({100, 50, 40, 21});
  EXPECT_EQ(hs[0], (Point{94, 44}));   // 1 top-left
  EXPECT_EQ(hs[1], (Point{140, 44}));  // 2 top-right
  EXPECT_EQ(hs[2], (Point{140, 57}));  // 3 right middle: T + H div 2 - 3
  EXPECT_EQ(hs[3], (Point{140, 71}));  // 4 bottom-right
  EXPECT_EQ(hs[4], (Point{117, 71}));  // 5 bottom middle: L + W div 2 - 3
  EXPECT_EQ(hs[5], (Point{94, 71}));   // 6 bottom-left
  EXPECT_EQ(hs[6], (Point{94, 57}));   // 7 left middle
  EXPECT_EQ(hs[7], (Point{117, 44}));  // 8 top middle
  EXPECT_EQ(ResizeFrameStart(hs), (Rect{100, 50, 40, 21}));
  EXPECT_EQ(CursorOfHandle(1), HandleCursor::DiagonalNwSe);
  EXPECT_EQ(CursorOfHandle(6), HandleCursor::DiagonalNeSw);
  EXPECT_EQ(CursorOfHandle(7), HandleCursor::Horizontal);
  EXPECT_EQ(CursorOfHandle(8), HandleCursor::Vertical);
}

TEST(CanvasGeometry, MoveFollowsTheMouseOffsetWithoutClamping) {
  Rect r{10, 20, 30, 40};
  EXPECT_EQ(MovedRect(r, {5, 5}, {5, 5}), r);  // a click does not move
  EXPECT_EQ(MovedRect(r, {5, 5}, {-20, 0}), (Rect{-15, 15, 30, 40}));
}

TEST(CanvasGeometry, EachHandleDrivesItsOwnEdges) {
  Rect r{100, 100, 80, 60};
  EXPECT_EQ(ResizeByHandle(r, 3, 20, 7), (Rect{100, 100, 100, 60}));  // right middle: width only
  EXPECT_EQ(ResizeByHandle(r, 7, -10, 7), (Rect{90, 100, 90, 60}));   // left middle
  EXPECT_EQ(ResizeByHandle(r, 5, 9, 15), (Rect{100, 100, 80, 75}));   // bottom middle: height only
  EXPECT_EQ(ResizeByHandle(r, 8, 9, -15), (Rect{100, 85, 80, 75}));   // top middle
  EXPECT_EQ(ResizeByHandle(r, 4, 10, 10), (Rect{100, 100, 90, 70}));
  EXPECT_EQ(ResizeByHandle(r, 1, -5, -5), (Rect{95, 95, 85, 65}));
  EXPECT_EQ(ResizeByHandle(r, 2, 5, -5), (Rect{100, 95, 85, 65}));
  EXPECT_EQ(ResizeByHandle(r, 6, -5, 5), (Rect{95, 100, 85, 65}));
}

TEST(CanvasGeometry, DraggingPastTheOppositeHandleMirrors) {
  Rect r{100, 100, 80, 60};
  // Handle 1 (x 94) dragged to x 200, beyond handle 2 (x 180): left edge at handle 2 + 6.
  Rect m = ResizeByHandle(r, 1, 106, 0);
  EXPECT_EQ(m.left, 186);
  EXPECT_EQ(m.width, 14);
  // Handle 5 dragged above the top: the rectangle flips upwards.
  Rect up = ResizeByHandle(r, 5, 0, -100);  // handle 5 at y 60, handle 1 at y 94
  EXPECT_EQ(up.top, 66);
  EXPECT_EQ(up.height, 28);
  // Ending on the opposite handle gives the minimum extent, never zero or negative.
  EXPECT_EQ(ResizeByHandle(r, 3, -86, 0).width, kMinExtent);
  EXPECT_EQ(ResizeByHandle(r, 3, -83, 0).width, kMinExtent);
}

TEST(CanvasGeometry, BackgroundLayouts) {
  // Tile: i = 0 … W div w, j = 0 … H div h (the last column and row run past the card).
  std::vector<Rect> tiles = BackgroundPlacements(100, 50, 40, 30, 0);
  ASSERT_EQ(tiles.size(), 6u);
  EXPECT_EQ(tiles[0], (Rect{0, 0, 40, 30}));
  EXPECT_EQ(tiles[5], (Rect{80, 30, 40, 30}));
  EXPECT_EQ(BackgroundPlacements(100, 50, 40, 30, 1), (std::vector<Rect>{{0, 0, 100, 50}}));
  EXPECT_EQ(BackgroundPlacements(101, 51, 40, 31, 2), (std::vector<Rect>{{30, 10, 40, 31}}));
  EXPECT_TRUE(BackgroundPlacements(100, 50, 0, 30, 0).empty());
}

TEST(CanvasGeometry, MaskKeepsRunsOfNonWhitePixels) {
  auto mask = platform::Bitmap::Create(5, 2, platform::PixelFormat::Bgr24);
  mask->Fill(platform::Rgb(255, 255, 255));
  mask->SetPixelColor(1, 0, platform::Rgb(0, 0, 0));
  mask->SetPixelColor(2, 0, platform::Rgb(254, 255, 255));  // nearly white still counts
  mask->SetPixelColor(4, 0, platform::Rgb(10, 20, 30));
  mask->SetPixelColor(0, 1, platform::Rgb(1, 1, 1));
  platform::Region r = MaskRegion(*mask);
  std::vector<platform::Span> expect = {{0, 1, 3}, {0, 4, 5}, {1, 0, 1}};
  EXPECT_EQ(r.Spans(), expect);
  EXPECT_EQ(r.Area(), 4);
}

TEST(CanvasGeometry, RectOfAnyElementIncludingTheShowBox) {
  CardDocument doc;
  EXPECT_FALSE(SetElementRect(doc, {ElementKind::Pics, 0}, {1, 2, 3, 4}));
  doc.picsBox = PicsBoxControl{};
  EXPECT_TRUE(SetElementRect(doc, {ElementKind::Pics, 0}, {1, 2, 3, 4}));
  EXPECT_EQ(ElementRect(doc, {ElementKind::Pics, 0}), (Rect{1, 2, 3, 4}));
  EXPECT_EQ(ElementRect(doc, {ElementKind::Label, 9}), Rect{});
}

TEST(CanvasGeometry, PicturesKeepingTheirNaturalSizeMoveButDoNotResize) {
  CardDocument doc;
  for (ElementKind kind : {ElementKind::Image, ElementKind::Gif}) {
    ElementControl c;
    c.tag = 1;
    c.naturalWidth = 64;
    c.naturalHeight = 48;
    c.autoSize = true;
    if (kind == ElementKind::Image) doc.images.push_back({.control = c, .rec = {}});
    else doc.gifs.push_back({.control = c, .rec = {}});
    ASSERT_TRUE(SetElementRect(doc, {kind, 1}, {10, 20, 200, 5}));
    EXPECT_EQ(ElementRect(doc, {kind, 1}), (Rect{10, 20, 64, 48}));
    doc.FindControl({kind, 1})->autoSize = false;  // stretched pictures take any size
    SetElementRect(doc, {kind, 1}, {10, 20, 200, 5});
    EXPECT_EQ(ElementRect(doc, {kind, 1}), (Rect{10, 20, 200, 5}));
  }
}
