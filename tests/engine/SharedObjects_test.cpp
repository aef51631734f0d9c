// Two files that hold the same font program and picture: the output holds each once, while
// the pages, comments, fields and layers of both stay objects of their own; content the source
// left uncompressed is compressed and draws the same.
#include "HostilePdf.h"
#include "MergeTestSupport.h"
#include "PdfMaker.h"
#include "ReferenceReaders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::string R(int num) { return std::to_string(num) + " 0 R"; }

size_t Count(const std::string &text, const std::string &what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++n;
  return n;
}

// One page: a picture in a layer, a font program it lists but does not use, a comment, a text
// field, and a long content stream without a filter.
std::string SourceWithSharedParts() {
  TextPdf doc = MakeTextPdf("shared", 1);
  RawPdf &pdf = doc.pdf;
  std::string program = "%!FontType1 SharedFontProgram\n", pixels = "SharedPicture";
  for (int i = 0; i < 400; ++i)
    program += "dup " + std::to_string(i) + " /g" + std::to_string(i) + " put\n";
  while (pixels.size() < 256)
    pixels += static_cast<char>(pixels.size() * 7);
  const int file = pdf.Add(StreamObject("/Length1 " + std::to_string(program.size()), program));
  const int descriptor = pdf.Add("<< /Type /FontDescriptor /FontName /Shared /Flags 32 /FontBBox "
                                 "[0 0 500 700] /ItalicAngle 0 /Ascent 700 /Descent 0 /CapHeight "
                                 "700 /StemV 80 /FontFile " +
                                 R(file) + " >>");
  const int font = pdf.Add("<< /Type /Font /Subtype /Type1 /BaseFont /Shared /FirstChar 32 "
                           "/LastChar 32 /Widths [250] /FontDescriptor " +
                           R(descriptor) + " >>");
  const int image = pdf.Add(StreamObject("/Type /XObject /Subtype /Image /Width 16 /Height 16 "
                                         "/ColorSpace /DeviceGray /BitsPerComponent 8",
                                         pixels));
  const int layer = pdf.Add("<< /Type /OCG /Name (Layer) >>");
  std::string content = "/OC /L1 BDC q 200 0 0 200 300 400 cm /Im1 Do Q EMC\n";
  for (int y = 100; y < 400; y += 4)
    content += "0.2 0.5 0.8 RG 72 " + std::to_string(y) + " m 520 " + std::to_string(y) + " l S\n";
  pdf.Set(doc.contents[0], StreamObject("", content + "BT /F1 24 Tf 72 720 Td (" +
                                                PageMarker("shared", 1) + ") Tj ET"));
  doc.ReplaceInPage(1, "/Font << /F1 " + R(doc.font) + " >>",
                    "/Font << /F1 " + R(doc.font) + " /F2 " + R(font) + " >> /XObject << /Im1 " +
                        R(image) + " >> /Properties << /L1 " + R(layer) + " >>");
  const int note = pdf.Add("<< /Type /Annot /Subtype /Text /Rect [400 700 420 720] /Contents "
                           "(the same note) >>");
  const int field = pdf.Add("<< /Type /Annot /Subtype /Widget /FT /Tx /T (same) /V (v) /Rect "
                            "[72 600 272 630] /P " +
                            R(doc.pageObjs[0]) + " >>");
  doc.AddToPage(1, "/Annots [" + R(note) + " " + R(field) + "]");
  pdf.Set(doc.catalog, "<< /Type /Catalog /Pages " + R(doc.pages) + " /AcroForm << /Fields [" +
                           R(field) + "] >> /OCProperties << /OCGs [" + R(layer) +
                           "] /D << /Order [" + R(layer) + "] >> >> >>");
  return pdf.Write().bytes;
}

TEST(SharedObjects, WrittenOnceWhileWhatHasAnIdentityStaysApart) {
  TempDir dir;
  const std::string bytes = SourceWithSharedParts();
  WriteFileBytes(dir.file("a.pdf"), bytes);
  WriteFileBytes(dir.file("b.pdf"), bytes);
  MergerTool job;
  const std::string out = dir.file("out.pdf");
  ASSERT_TRUE(MergeOntoA4(job, out, {{dir.file("a.pdf")}, {dir.file("b.pdf")}}));
  ASSERT_TRUE(CheckWithQpdf(out).Clean()) << CheckWithQpdf(out).output;

  const std::string qdf = RunCommand("qpdf --qdf --object-streams=disable '" + out + "' -");
  EXPECT_EQ(Count(qdf, "SharedFontProgram"), 1u);
  EXPECT_EQ(Count(qdf, "SharedPicture"), 1u);
  EXPECT_EQ(Count(qdf, "/Type /Page\n"), 2u);
  EXPECT_EQ(Count(qdf, "/Subtype /Text\n"), 2u);
  EXPECT_EQ(Count(qdf, "/Subtype /Widget\n"), 2u);
  EXPECT_EQ(Count(qdf, "/Type /OCG\n"), 2u);

  // The page's content has a filter now; both sheets draw what the source page draws.
  const std::string pages = RunCommand("qpdf --show-pages '" + out + "'");
  const size_t at = pages.find("content:\n");
  ASSERT_NE(at, std::string::npos) << pages;
  const std::string contents = pages.substr(at + 9, pages.find(" 0 R", at) - at - 9);
  EXPECT_NE(
      RunCommand("qpdf --show-object=" + std::to_string(std::stoi(contents)) + " '" + out + "'")
          .find("/FlateDecode"),
      std::string::npos);
  const RenderedPage source = RenderPage(dir.file("a.pdf"), 1, 36);
  for (int sheet = 1; sheet <= 2; ++sheet) {
    const RenderedPage shown = RenderPage(out, sheet, 36);
    for (double x = 0.05; x < 1; x += 0.1)
      for (double y = 0.05; y < 1; y += 0.1) {
        const Rgb want = source.At(x, y);
        EXPECT_TRUE(Near(shown.At(x, y), unsigned(want.r << 16 | want.g << 8 | want.b), 24))
            << "sheet " << sheet << " at " << x << ", " << y;
      }
  }
}

} // namespace
