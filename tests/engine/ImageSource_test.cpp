// Pictures as pages: embedding, conversion, transparency, orientation, size and bad files.
#include "MergeTestSupport.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "PictureMaker.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <podofo/podofo.h>

#include <filesystem>
#include <unistd.h>

namespace {

class Pictures : public ::testing::Test {
protected:
  TempDir dir;
  MergeRecorder recorder;
  MergerTool job;

  void SetUp() override {
    job.SetCallBack(&recorder, MergeRecorder::Progress, MergeRecorder::Cancel);
    job.SetLayout(1, 0, 0);
  }
  void Add(const std::string &name, int index = 0) {
    job.AppendMergeSrc(index, Wide(dir.file(name)).c_str(), 1, nullptr, nullptr);
  }
  bool Run() {
    job.SetOutPDFPath(Wide(dir.file("out.pdf")).c_str());
    return job.StartMerge(0);
  }
  std::string Out() const { return dir.file("out.pdf"); }
};

// The raw bytes of every image XObject in a PDF.
std::vector<std::string> ImageStreams(const std::string &pdf) {
  std::vector<std::string> images;
  PoDoFo::PdfMemDocument doc;
  doc.Load(pdf.c_str());
  for (PoDoFo::PdfObject *obj : doc.GetObjects()) {
    const PoDoFo::PdfObject *subtype = obj->IsDictionary() ? obj->GetDictionary().GetKey("Subtype") : nullptr;
    if (subtype && subtype->IsName() && subtype->GetName() == PoDoFo::PdfName("Image")) {
      char *buffer = nullptr;
      PoDoFo::pdf_long length = 0;
      obj->GetStream()->GetCopy(&buffer, &length);
      images.emplace_back(buffer, static_cast<size_t>(length));
      PoDoFo::podofo_free(buffer);
    }
  }
  return images;
}

TEST_F(Pictures, JpegIsEmbeddedUnchangedAndLeftAlone) {
  MakePicture(dir.file("photo.JPG"), "jpeg", 300, 400, 0x3366CC);
  const std::string before = ReadFileBytes(dir.file("photo.JPG"));
  Add("photo.JPG");
  ASSERT_TRUE(Run());
  const auto images = ImageStreams(Out());
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0], before);
  EXPECT_EQ(ReadFileBytes(dir.file("photo.JPG")), before);
  EXPECT_TRUE(Near(RenderPage(Out(), 1).At(0.3, 0.5), 0x3366CC, 30));
}

TEST_F(Pictures, OtherFormatsAreConvertedAndTransparencyIsWhite) {
  MakePicture(dir.file("a.png"), "png", 200, 300, 0x00A000, true);
  MakePicture(dir.file("b.bmp"), "bmp", 200, 300, 0xCC0000);
  MakePicture(dir.file("c.tiff"), "tiff", 200, 300, 0x0000CC);
  Add("a.png");
  Add("b.bmp");
  Add("c.tiff");
  ASSERT_TRUE(Run());
  ASSERT_EQ(ReadBack(Out()).sheets.size(), 3u);
  // 200 x 300 on A4 fills the width: the left half of the PNG is green, its right half white.
  const RenderedPage png = RenderPage(Out(), 1, 30);
  EXPECT_TRUE(Near(png.At(0.25, 0.5), 0x00A000));
  EXPECT_TRUE(Near(png.At(0.75, 0.5), 0xFFFFFF));
  EXPECT_TRUE(Near(RenderPage(Out(), 2).At(0.5, 0.5), 0xCC0000));
  EXPECT_TRUE(Near(RenderPage(Out(), 3).At(0.5, 0.5), 0x0000CC));
}

TEST_F(Pictures, ConversionLeavesNoFileBehindAndNeverTouchesTmpJpg) {
  MakePicture(dir.file("a.png"), "png", 50, 50, 0x00A000);
  WriteFileBytes(dir.file("tmp.jpg"), "the user's own tmp.jpg");
  // A private temporary folder: other programs' files in the shared one do not count.
  std::filesystem::create_directory(dir.file("tmp"));
  const char *oldTmp = getenv("TMPDIR");
  const std::string savedTmp = oldTmp ? oldTmp : "";
  setenv("TMPDIR", dir.file("tmp").c_str(), 1);
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  Add("a.png");
  const bool ok = Run();
  std::filesystem::current_path(cwd);
  if (oldTmp)
    setenv("TMPDIR", savedTmp.c_str(), 1);
  else
    unsetenv("TMPDIR");
  ASSERT_TRUE(ok);
  EXPECT_EQ(ReadFileBytes(dir.file("tmp.jpg")), "the user's own tmp.jpg");
  // a.png, tmp.jpg, tmp/ and out.pdf: nothing else in the current folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
  EXPECT_TRUE(std::filesystem::is_empty(dir.file("tmp")));
}

TEST_F(Pictures, WidePictureTurnsOnA4) {
  MakePicture(dir.file("wide.png"), "png", 1000, 500, 0xCC0000);
  Add("wide.png");
  ASSERT_TRUE(Run());
  const PdfReadBack out = ReadBack(Out());
  ASSERT_EQ(out.sheets.size(), 1u);
  ASSERT_EQ(out.sheets[0].matrices.size(), 1u);
  const auto &m = out.sheets[0].matrices[0];
  const double expected[6] = {0, -842, 421, 0, 0, 842}; // scale min(842/1000, 595/500) = 0.842
  for (int i = 0; i < 6; ++i)
    EXPECT_NEAR(m[i], expected[i], 1e-3) << i;
}

TEST_F(Pictures, SheetSizedByThePicture) {
  MakePicture(dir.file("p.png"), "png", 800, 600, 0xCC0000);
  job.SetLayout(8, 0, 0);
  Add("p.png");
  ASSERT_TRUE(Run());
  const PdfReadBack out = ReadBack(Out());
  ASSERT_EQ(out.sheets.size(), 1u);
  EXPECT_DOUBLE_EQ(out.sheets[0].width, 800);
  EXPECT_DOUBLE_EQ(out.sheets[0].height, 600);
}

struct OrientationCase {
  int orientation;
  double sheetWidth, sheetHeight; // the sheet is sized by the upright picture
  double topX, topY;              // where the stored top half shows, as fractions of the sheet
};

TEST_F(Pictures, ExifOrientationIsPlacedUpright) {
  const OrientationCase cases[] = {{1, 400, 200, 0.5, 0.25}, {3, 400, 200, 0.5, 0.75},
                                   {6, 200, 400, 0.75, 0.5}, {8, 200, 400, 0.25, 0.5}};
  for (const OrientationCase &c : cases) {
    const std::string name = "o" + std::to_string(c.orientation) + ".jpg";
    MakeOrientedJpeg(dir.file(name), 400, 200, 0xCC0000, 0x0000CC, c.orientation);
    MergerTool one;
    one.SetLayout(8, 0, 0);
    one.AppendMergeSrc(0, Wide(dir.file(name)).c_str(), 1, nullptr, nullptr);
    const std::string out = dir.file("o" + std::to_string(c.orientation) + ".pdf");
    one.SetOutPDFPath(Wide(out).c_str());
    ASSERT_TRUE(one.StartMerge(0));
    const PdfReadBack pdf = ReadBack(out);
    ASSERT_EQ(pdf.sheets.size(), 1u);
    EXPECT_DOUBLE_EQ(pdf.sheets[0].width, c.sheetWidth) << c.orientation;
    EXPECT_DOUBLE_EQ(pdf.sheets[0].height, c.sheetHeight) << c.orientation;
    const RenderedPage page = RenderPage(out, 1, 36);
    EXPECT_TRUE(Near(page.At(c.topX, c.topY), 0xCC0000, 50)) << c.orientation;
    EXPECT_TRUE(Near(page.At(1 - c.topX, 1 - c.topY), 0x0000CC, 50)) << c.orientation;
  }
}

TEST_F(Pictures, BadPicturesAreSkippedAndTheRunGoesOn) {
  MakePicture(dir.file("good.png"), "png", 100, 100, 0x00A000);
  MakePicture(dir.file("whole.jpg"), "jpeg", 100, 100, 0x00A000);
  const std::string jpeg = ReadFileBytes(dir.file("whole.jpg"));
  WriteFileBytes(dir.file("cut.jpg"), jpeg.substr(0, jpeg.size() * 2 / 3));
  WriteFileBytes(dir.file("text.png"), "this is not a picture");
  WriteFileBytes(dir.file("png.jpg"), ReadFileBytes(dir.file("good.png")));
  for (const char *name : {"cut.jpg", "text.png", "png.jpg", "missing.bmp", "good.png"})
    Add(name);
  ASSERT_TRUE(Run());
  // Five pictures counted, two placed: a PNG named .jpg is a PNG.
  EXPECT_EQ(ReadBack(Out()).sheets.size(), 2u);
  EXPECT_EQ(recorder.percents, (std::vector<int>{5, 23, 41, 95, 97, 100}));

  int32_t w = 0, h = 0;
  EXPECT_TRUE(MergerTool::GetImageInfo(Wide(dir.file("png.jpg")).c_str(), &w, &h));
  EXPECT_EQ(w, 100);
  for (const char *name : {"cut.jpg", "text.png", "missing.bmp"})
    EXPECT_FALSE(MergerTool::GetImageInfo(Wide(dir.file(name)).c_str(), nullptr, nullptr)) << name;
}

TEST_F(Pictures, SamePictureTwiceIsEmbeddedOnce) {
  MakePicture(dir.file("a.png"), "png", 60, 80, 0x00A000);
  Add("a.png");
  Add("a.png");
  ASSERT_TRUE(Run());
  EXPECT_EQ(ReadBack(Out()).sheets.size(), 2u);
  EXPECT_EQ(ImageStreams(Out()).size(), 1u);
}

} // namespace
