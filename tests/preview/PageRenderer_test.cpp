// The renderer against pages whose drawing is known: where a colour block lands, the crop box
// and /Rotate as the merged sheet shows them, encrypted and damaged sources.
#include "PageRenderer.h"

#include "MergerTool.h"
#include "PdfMaker.h"
#include "SimplePdf.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

const unsigned kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

std::wstring Wide(const std::string &s) { return std::wstring(s.begin(), s.end()); }

bool Close(uint32_t pixel, unsigned rgb, int tolerance = 24) {
  for (int shift : {16, 8, 0})
    if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) >
        tolerance)
      return false;
  return true;
}

class PageRendererTest : public ::testing::Test {
protected:
  TempDir dir;
};

TEST_F(PageRendererTest, AColourBlockLandsWhereThePageDrawsIt) {
  SimplePage page;                          // 200 x 100 points
  page.content = FillRect(kRed, 20, 20, 40, 30); // x 20..60, y 20..50 from the bottom
  WriteSimplePdf(dir.file("block.pdf"), {page});
  PageRenderer renderer;
  ASSERT_TRUE(renderer.Open(Wide(dir.file("block.pdf")), ""));
  EXPECT_EQ(1, renderer.PageCount());
  // Twice the page's size in points fits exactly: 2 pixels a point.
  const auto image = renderer.Render(0, 400, 400);
  ASSERT_TRUE(image);
  EXPECT_EQ(400, image->width);
  EXPECT_EQ(200, image->height);
  // From the top: y 50..80 points, so pixels 100..160.
  EXPECT_TRUE(Close(image->At(80, 130), kRed));
  EXPECT_TRUE(Close(image->At(30, 130), kWhite)) << std::hex << image->At(30, 130);
  EXPECT_TRUE(Close(image->At(80, 60), kWhite));
  EXPECT_TRUE(Close(image->At(300, 100), kWhite));
}

TEST_F(PageRendererTest, TheShapeIsKeptInsideTheBox) {
  SimplePage page;
  page.width = 100;
  page.height = 300;
  WriteSimplePdf(dir.file("tall.pdf"), {page});
  PageRenderer renderer;
  ASSERT_TRUE(renderer.Open(Wide(dir.file("tall.pdf")), ""));
  const auto image = renderer.Render(0, 120, 120);
  ASSERT_TRUE(image);
  EXPECT_EQ(40, image->width);
  EXPECT_EQ(120, image->height);
  EXPECT_EQ(static_cast<size_t>(40 * 120 * 3), image->Bytes());
  EXPECT_FALSE(renderer.Render(1, 120, 120));
  EXPECT_FALSE(renderer.Render(-1, 120, 120));
  EXPECT_FALSE(renderer.Render(0, 0, 120));
}

// A page cropped to its right three quarters and turned a quarter turn: the red block at
// x 60..100, y 10..40 of the media box shows at x 10..40, y 10..50 from the shown top-left.
SimplePage TurnedCroppedPage() {
  SimplePage page;
  page.cropBox = "50 0 200 100";
  page.rotate = 90;
  page.content = FillRect(kBlue, 0, 0, 50, 100) + FillRect(kRed, 60, 10, 40, 30);
  return page;
}

TEST_F(PageRendererTest, CropBoxAndRotateAreHonoured) {
  WriteSimplePdf(dir.file("turned.pdf"), {TurnedCroppedPage()});
  PageRenderer renderer;
  ASSERT_TRUE(renderer.Open(Wide(dir.file("turned.pdf")), ""));
  double w = 0, h = 0;
  ASSERT_TRUE(renderer.PageSize(0, &w, &h));
  EXPECT_DOUBLE_EQ(100, w);
  EXPECT_DOUBLE_EQ(150, h);
  const auto image = renderer.Render(0, 100, 150);
  ASSERT_TRUE(image);
  ASSERT_EQ(100, image->width);
  ASSERT_EQ(150, image->height);
  EXPECT_TRUE(Close(image->At(25, 30), kRed)) << std::hex << image->At(25, 30);
  EXPECT_TRUE(Close(image->At(70, 30), kWhite));
  EXPECT_TRUE(Close(image->At(25, 100), kWhite));
  // The blue strip left of the crop box is not shown anywhere.
  for (int y = 0; y < 150; y += 5)
    for (int x = 0; x < 100; x += 5)
      EXPECT_FALSE(Close(image->At(x, y), kBlue)) << x << "," << y;
}

TEST_F(PageRendererTest, ASourcePageLooksAsTheMergedSheetShowsIt) {
  WriteSimplePdf(dir.file("turned.pdf"), {TurnedCroppedPage()});
  MergerTool tool;
  // One page per sheet, each sheet the size of its page.
  tool.SetLayout(-1, 0, 0);
  tool.SetOutPDFPath(Wide(dir.file("merged.pdf")).c_str());
  tool.AppendMergeSrc(1, Wide(dir.file("turned.pdf")).c_str(), 1, nullptr, nullptr);
  ASSERT_TRUE(tool.StartMerge(0)) << std::string(tool.GetFailureText().begin(), tool.GetFailureText().end());

  PageRenderer source, sheet;
  ASSERT_TRUE(source.Open(Wide(dir.file("turned.pdf")), ""));
  ASSERT_TRUE(sheet.Open(Wide(dir.file("merged.pdf")), ""));
  const auto a = source.Render(0, 100, 150);
  const auto b = sheet.Render(0, 100, 150);
  ASSERT_TRUE(a && b);
  ASSERT_EQ(a->width, b->width);
  ASSERT_EQ(a->height, b->height);
  // Away from the block's edges, where anti-aliasing may differ by a pixel.
  for (int y = 3; y < a->height; y += 6)
    for (int x = 3; x < a->width; x += 6)
      EXPECT_TRUE(Close(a->At(x, y), b->At(x, y), 60))
          << x << "," << y << ": " << std::hex << a->At(x, y) << " " << b->At(x, y);
}

TEST_F(PageRendererTest, AnEncryptedSourceOpensOnlyWithItsPassword) {
  TestPdfOptions options;
  options.userPassword = "s\xE9same"; // PDFDocEncoding, as AES-128 files hold it
  options.ownerPassword = "owner";
  MakeTestPdf(dir.file("locked.pdf"), {TestPage{}}, options);

  PageRenderer renderer;
  EXPECT_FALSE(renderer.Open(Wide(dir.file("locked.pdf")), ""));
  EXPECT_EQ(RENDER_NEEDS_PASSWORD, renderer.Status());
  EXPECT_NE(std::wstring::npos, renderer.Reason().find(L"password"));
  EXPECT_EQ(0, renderer.PageCount());

  EXPECT_FALSE(renderer.Open(Wide(dir.file("locked.pdf")), "sesame"));
  EXPECT_EQ(RENDER_WRONG_PASSWORD, renderer.Status());
  EXPECT_FALSE(renderer.Reason().empty());

  ASSERT_TRUE(renderer.Open(Wide(dir.file("locked.pdf")), "s\xC3\xA9same")); // as typed, UTF-8
  EXPECT_EQ(RENDER_OK, renderer.Status());
  EXPECT_TRUE(renderer.Reason().empty());
  const auto image = renderer.Render(0, 60, 85);
  ASSERT_TRUE(image);
  EXPECT_TRUE(Close(image->At(30, 60), 0xFF0000)); // the page's red fill
}

TEST_F(PageRendererTest, DamagedAndMissingSourcesFailWithAReason) {
  WriteFileBytes(dir.file("junk.pdf"), "this is no PDF at all, only some words\n");
  PageRenderer renderer;
  EXPECT_FALSE(renderer.Open(Wide(dir.file("junk.pdf")), ""));
  EXPECT_EQ(RENDER_DAMAGED, renderer.Status());
  EXPECT_NE(std::wstring::npos, renderer.Reason().find(L"damaged")) << std::string(
      renderer.Reason().begin(), renderer.Reason().end());

  EXPECT_FALSE(renderer.Open(Wide(dir.file("absent.pdf")), ""));
  EXPECT_EQ(RENDER_UNREADABLE, renderer.Status());
  EXPECT_FALSE(renderer.Reason().empty());

  EXPECT_FALSE(renderer.Open(Wide(dir.path()), ""));
  EXPECT_EQ(RENDER_UNREADABLE, renderer.Status());
  EXPECT_FALSE(renderer.Render(0, 10, 10));
}

TEST_F(PageRendererTest, AnOpenDocumentStillRendersAfterItsFileIsRemoved) {
  // The preview removes its temporary file as soon as the renderer has it open.
  MakeNumberedPdf(dir.file("gone.pdf"), 30);
  PageRenderer renderer;
  ASSERT_TRUE(renderer.Open(Wide(dir.file("gone.pdf")), ""));
  ASSERT_EQ(0, std::remove(dir.file("gone.pdf").c_str()));
  const auto image = renderer.Render(29, 60, 85);
  ASSERT_TRUE(image);
  EXPECT_TRUE(Close(image->At(30, 60), PageColour(29)));
}

} // namespace
