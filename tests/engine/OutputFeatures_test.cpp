// What the merged file says of itself: its version, its information, its layers, and the
// encoding of its passwords, as other readers see them.
#include "MergeTestSupport.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "PodofoSetup.h"
#include "support/TempDir.h"

#include <podofo/podofo.h>

#include <gtest/gtest.h>

using namespace PoDoFo;

namespace {

class OutputFeatures : public ::testing::Test {
protected:
  TempDir dir;
  MergerTool job;

  void SetUp() override { job.SetLayout(1, 0, 0); }
  bool Run() {
    job.SetOutPDFPath(Wide(dir.file("out.pdf")).c_str());
    return job.StartMerge(0);
  }
  std::string Header() { return ReadFileBytes(dir.file("out.pdf")).substr(0, 8); }
};

// One page with two layers, "Shown" and "Hidden" (off by default): a blue square in the shown
// layer at the left, a red one in the hidden layer at the right.
void MakeLayeredPdf(const std::string &path) {
  engine::EnsurePodofoReady();
  PdfMemDocument doc;
  PdfVecObjects &objects = doc.GetObjects();
  auto layer = [&objects](const char *name) {
    PdfObject *ocg = objects.CreateObject("OCG");
    ocg->GetDictionary().AddKey("Name", PdfString(name));
    return ocg->Reference();
  };
  const PdfReference shown = layer("Shown"), hidden = layer("Hidden");
  PdfPage *page = doc.CreatePage(PdfRect(0, 0, 595, 842));
  PdfDictionary properties;
  properties.AddKey("S", shown);
  properties.AddKey("H", hidden);
  PdfDictionary resources;
  resources.AddKey("Properties", properties);
  page->GetObject()->GetDictionary().AddKey("Resources", resources);
  PdfObject *contents = objects.CreateObject();
  contents->GetStream()->Set("/OC /S BDC 0 0 1 rg 50 300 200 200 re f EMC\n"
                             "/OC /H BDC 1 0 0 rg 345 300 200 200 re f EMC\n");
  page->GetObject()->GetDictionary().AddKey("Contents", contents->Reference());
  PdfArray ocgs, off;
  ocgs.push_back(shown);
  ocgs.push_back(hidden);
  off.push_back(hidden);
  PdfDictionary d;
  d.AddKey("OFF", off);
  d.AddKey("Order", ocgs);
  PdfDictionary props;
  props.AddKey("OCGs", ocgs);
  props.AddKey("D", d);
  doc.GetCatalog()->GetDictionary().AddKey("OCProperties", props);
  doc.Write(path.c_str());
}

TEST_F(OutputFeatures, HiddenLayersStayHiddenAndShownOnesShown) {
  MakeLayeredPdf(dir.file("layers.pdf"));
  MakeNumberedPdf(dir.file("plain.pdf"), 1);
  job.SetLayout(1, 1, 1); // two per sheet: the layered page is drawn as a form in a cell
  job.AppendMergeSrc(0, Wide(dir.file("plain.pdf")).c_str(), 1, nullptr, nullptr);
  job.AppendMergeSrc(1, Wide(dir.file("layers.pdf")).c_str(), 1, nullptr, nullptr);
  ASSERT_TRUE(Run());
  // The layered page is the bottom half, turned: its left half is shown at the bottom.
  const RenderedPage sheet = RenderPage(dir.file("out.pdf"), 1, 40);
  bool blue = false, red = false;
  for (double x = 0.02; x < 1; x += 0.02)
    for (double y = 0.5; y < 1; y += 0.02) {
      blue = blue || Near(sheet.At(x, y), 0x0000FF, 60);
      red = red || Near(sheet.At(x, y), 0xFF0000, 60);
    }
  EXPECT_TRUE(blue);
  EXPECT_FALSE(red);
  const std::string listing =
      RunCommand("qpdf --show-object=trailer --filtered-stream-data '" + dir.file("out.pdf") +
                 "' && qpdf --json '" + dir.file("out.pdf") + "'");
  EXPECT_NE(listing.find("\"/OCProperties\""), std::string::npos);
  EXPECT_NE(listing.find("\"/OFF\""), std::string::npos);
  EXPECT_NE(RunCommand("qpdf --check '" + dir.file("out.pdf") + "'").find("No syntax or stream"),
            std::string::npos);
}

TEST_F(OutputFeatures, VersionIsTheHighestOfTheSourcesAndWhatEncryptionNeeds) {
  MakeNumberedPdf(dir.file("a.pdf"), 1);
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 1, nullptr, nullptr);
  ASSERT_TRUE(Run());
  EXPECT_EQ(Header(), "%PDF-1.5"); // object streams
  // A 1.7 source raises the version.
  std::string newer = ReadFileBytes(dir.file("a.pdf"));
  newer.replace(0, 8, "%PDF-1.7");
  WriteFileBytes(dir.file("b.pdf"), newer);
  job.AppendMergeSrc(1, Wide(dir.file("b.pdf")).c_str(), 1, nullptr, nullptr);
  ASSERT_TRUE(Run());
  EXPECT_EQ(Header(), "%PDF-1.7");
  job.ClearMergeData();
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 1, nullptr, nullptr);
  job.SetOpenPwd("open");
  job.SetPemissionPwd(nullptr, false, false, false);
  for (const auto &[encryption, header] :
       {std::pair{ENCRYPT_AES_128, "%PDF-1.6"}, std::pair{ENCRYPT_AES_256, "%PDF-2.0"}}) {
    job.SetEncryption(encryption);
    ASSERT_TRUE(Run());
    EXPECT_EQ(Header(), header);
  }
}

TEST_F(OutputFeatures, InformationNamesThisProgramAndNothingOfTheSources) {
  MakeNumberedPdf(dir.file("a.pdf"), 1);
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 1, nullptr, nullptr);
  ASSERT_TRUE(Run());
  const std::string info = RunCommand("pdfinfo '" + dir.file("out.pdf") + "'");
  EXPECT_NE(info.find("Producer:        Vantorel PDF merger"), std::string::npos) << info;
  EXPECT_NE(info.find("CreationDate:"), std::string::npos);
}

TEST_F(OutputFeatures, PasswordsAreWrittenInPdfDocEncoding) {
  // "pw€" reaches the engine as Windows-1252 (€ is 0x80); PDFDocEncoding has € at 0xA0, which
  // is what readers that follow the standard (qpdf, MuPDF) try for the typed text.
  MakeNumberedPdf(dir.file("a.pdf"), 1);
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 1, nullptr, nullptr);
  job.SetOpenPwd("pw\x80");
  job.SetPemissionPwd(nullptr, false, false, false);
  for (int encryption : {ENCRYPT_RC4_40, ENCRYPT_AES_128}) {
    job.SetEncryption(encryption);
    ASSERT_TRUE(Run());
    int status = 0;
    RunCommand("qpdf --password='pw\xE2\x82\xAC' --check '" + dir.file("out.pdf") +
                   "' >/dev/null 2>&1",
               &status);
    EXPECT_EQ(status, 0) << "encryption " << encryption;
    RunCommand("qpdf --password-mode=bytes --password='pw\xA0' --check '" + dir.file("out.pdf") +
                   "' >/dev/null 2>&1",
               &status);
    EXPECT_EQ(status, 0) << "encryption " << encryption;
  }
}

} // namespace

namespace {

TEST_F(OutputFeatures, ObjectStreamsByDefaultMakeASmallerFileWithTheSamePages) {
  MakeNumberedPdf(dir.file("a.pdf"), 40);
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 40, nullptr, nullptr);
  job.SetObjectStreams(false);
  ASSERT_TRUE(Run());
  // Off: a classic table that readers before PDF 1.5 take.
  const std::string plainBytes = ReadFileBytes(dir.file("out.pdf"));
  EXPECT_EQ(plainBytes.substr(0, 8), "%PDF-1.4");
  EXPECT_NE(plainBytes.find("\nxref\n0 "), std::string::npos);
  EXPECT_EQ(RunCommand("qpdf --show-xref '" + dir.file("out.pdf") + "'").find(": compressed"),
            std::string::npos);
  const size_t plain = plainBytes.size();
  const std::string plainText = RunCommand("pdftotext '" + dir.file("out.pdf") + "' -");
  for (int encryption : {-1, int{ENCRYPT_RC4_40}, int{ENCRYPT_AES_256}}) {
    MergerTool packed;
    packed.SetLayout(1, 0, 0);
    packed.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 40, nullptr, nullptr);
    if (encryption >= 0) {
      packed.SetOpenPwd("pw");
      packed.SetPemissionPwd(nullptr, false, false, false);
      packed.SetEncryption(encryption);
    }
    packed.SetOutPDFPath(Wide(dir.file("packed.pdf")).c_str());
    ASSERT_TRUE(packed.StartMerge(0)) << encryption;
    const std::string path = "'" + dir.file("packed.pdf") + "'";
    int status = 0;
    const std::string check = RunCommand("qpdf --password=pw --check " + path + " 2>&1", &status);
    EXPECT_EQ(status, 0) << check;
    EXPECT_EQ(check.find("WARNING"), std::string::npos) << check;
    EXPECT_NE(RunCommand("qpdf --password=pw --show-xref " + path).find("compressed"),
              std::string::npos);
    EXPECT_EQ(RunCommand("pdftotext -upw pw " + path + " -"), plainText) << encryption;
    if (encryption < 0) {
      EXPECT_LT(ReadFileBytes(dir.file("packed.pdf")).size(), plain);
    }
  }
}

} // namespace
