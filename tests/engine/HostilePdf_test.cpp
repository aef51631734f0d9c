// The generators make exactly the damage they are named after: qpdf, poppler and mutool see it
// (and repair it, or not) as intended, and the undamaged start is a clean file.
#include "HostilePdf.h"
#include "ReferenceReaders.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <zlib.h>

namespace {

// What the other readers make of one generated file. Pages: -1 when the reader gives up.
struct Witness {
  const char *name;
  const char *qpdfSays; // in qpdf --check's output; "" when the check is clean
  int qpdfPages, popplerPages, mutoolPages;
  const char *mutoolPath = nullptr; // `mutool show FILE PATH` ...
  const char *mutoolSays = nullptr; // ... prints this
};

const Witness kWitnesses[] = {
    // Repairable: at least one reader rebuilds the cross-reference and finds the three pages.
    {"xref-shifted", "expected 1 0 obj", 3, 3, 3},
    {"xref-into-objects", "expected n n obj", 3, 3, 3},
    {"startxref-wrong", "xref not found", 3, 3, 3},
    {"startxref-missing", "can't find startxref", 3, 3, 3},
    {"xref-missing", "unable to find trailer dictionary", -1, -1, 3},
    {"xref-too-few", "unable to find /Root dictionary", -1, 3, 0},
    {"length-too-long", "expected endstream", 3, 3, 3},
    {"length-too-short", "expected endstream", 3, 3, 3},
    {"length-missing-object", "/Length key in stream dictionary is not an integer", 3, 3, 3},
    {"cairo-like", "expected 5 0 obj", 3, 3, 3},
    // Loops.
    {"kids-self", "Loop detected in /Pages structure", 3, 3, 1},
    {"kids-repeat", "appears more than once in the pages tree", 20000, -1, 20000},
    {"names-self", "", 3, 3, 3, "trailer/Root/Names/Dests", "/Kids [ 10 0 R 10 0 R ]"},
    {"names-self-then-leaf", "", 3, 3, 3, "trailer/Root/Names/Dests", "/Kids [ 10 0 R 11 0 R ]"},
    {"outline-next-loop", "", 3, 3, 3, "trailer/Root/Outlines/Last/Next", "/Title (One)"},
    {"outline-first-self", "", 3, 3, 3, "trailer/Root/Outlines/First/First", "/First 11 0 R"},
    {"object-is-reference", "expected endobj", 3, 3, 3},
    // Lies and junk.
    {"count-huge", "", 2147483647, -1, 3, "trailer/Root/Pages/Count", "2147483647"},
    {"kid-integer", "operation for dictionary attempted on object of type integer", 4, 4, 4},
    {"kid-font", "/Type key should be /Page but is not", 4, 4, 4},
    {"kid-missing", "object 999 0: operation for dictionary attempted on object of type null", 4, 4,
     4},
    {"objstm-inside-itself", "supposed object stream 10 is not a stream", 3, 3, 3},
    {"objstm-n-negative", "object 6 0: operation for dictionary attempted on object of type null",
     3, 3, 3, "10", "/N -1"},
    {"objstm-n-huge", "expected integer in object stream header", 3, 3, 3, "10", "/N 2147483647"},
    {"objstm-first-beyond", "object 6 0 at offset 99999", 3, 3, 3, "10", "/First 99999"},
    {"deep-array-in-page", "object 6 0 at offset", 3, 3, 3},
    {"deep-dict-in-page", "object 6 0 at offset", 3, 3, 3},
    {"deep-array-unused", "ignoring excessively deeply nested data structure", 3, 3, 3},
    {"deep-dict-unused", "ignoring excessively deeply nested data structure", 3, 3, 3},
    {"rect-1e308", "unknown token while reading object", 3, 3, 3},
    {"rect-309-digits", "overflow/underflow converting", 3, 3, 3},
    {"rect-nan", "unknown token while reading object", 3, 3, 3},
    {"rect-inf", "unknown token while reading object", 3, 3, 3},
    {"rotate-1e20", "unknown token while reading object", 3, 3, 3},
    {"rotate-45", "", 3, 3, 3, "trailer/Root/Pages/Kids/2/Rotate", "45"},
    {"rotate-minus-90", "", 3, 3, 3, "trailer/Root/Pages/Kids/2/Rotate", "-90"},
    {"mediabox-missing", "", 3, 3, 3},
    {"mediabox-zero", "", 3, 3, 3, "trailer/Root/Pages/Kids/2/MediaBox", "[ 0 0 0 0 ]"},
    {"mediabox-nan", "unknown token while reading object", 3, 3, 3},
    {"filter-not-a-name", "stream filter type is not name or array", 3, 3, 3},
    {"annot-numbers-huge", "unknown token while reading object", 3, 3, 3},
    // Not PDFs: nobody finds a page.
    {"empty", "can't find PDF header", -1, -1, -1},
    {"header-only", "unable to find trailer dictionary", -1, -1, -1},
    {"random-4k", "can't find PDF header", -1, -1, -1},
    {"jpeg-renamed", "can't find PDF header", -1, -1, -1},
};

void PrintTo(const Witness &w, std::ostream *out) { *out << w.name; }

const HostileCase &FindCase(const std::string &name) {
  for (auto *list : {&RepairableCases(), &LoopCases(), &JunkCases(), &NotPdfCases()})
    for (const HostileCase &c : *list)
      if (name == c.name)
        return c;
  throw std::logic_error("no generator named " + name);
}

class Generated : public ::testing::TestWithParam<Witness> {};

TEST_P(Generated, OtherReadersSeeTheIntendedDamage) {
  const Witness &w = GetParam();
  TempDir dir;
  const std::string path = dir.file("case.pdf");
  WriteFileBytes(path, FindCase(w.name).make());
  const QpdfCheck check = CheckWithQpdf(path);
  if (*w.qpdfSays == '\0')
    EXPECT_TRUE(check.Clean()) << check.output;
  else
    EXPECT_NE(check.output.find(w.qpdfSays), std::string::npos) << check.output;
  EXPECT_EQ(QpdfPageCount(path), w.qpdfPages);
  EXPECT_EQ(PopplerPageCount(path), w.popplerPages);
  EXPECT_EQ(MutoolPageCount(path), w.mutoolPages);
  if (w.mutoolPath) {
    const ChildResult shown = RunChild({"/usr/bin/mutool", "show", path, w.mutoolPath}, 60);
    EXPECT_NE(shown.out.find(w.mutoolSays), std::string::npos) << shown.out << shown.err;
  }
}

INSTANTIATE_TEST_SUITE_P(Hostile, Generated, ::testing::ValuesIn(kWitnesses),
                         [](const ::testing::TestParamInfo<Witness> &info) {
                           std::string name = info.param.name;
                           for (char &c : name)
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(Generated, EveryCaseHasAWitness) {
  size_t cases = 0;
  for (auto *list : {&RepairableCases(), &LoopCases(), &JunkCases(), &NotPdfCases()})
    cases += list->size();
  EXPECT_EQ(cases, std::size(kWitnesses));
  for (const Witness &w : kWitnesses)
    EXPECT_NO_THROW(FindCase(w.name));
}

TEST(Generated, UndamagedDocumentsAreCleanInEveryReader) {
  TempDir dir;
  TextPdf doc = MakeTextPdf("clean", 3);
  WriteFileBytes(dir.file("plain.pdf"), doc.pdf.Write().bytes);
  RawPdf::Packing packing;
  packing.packed = {doc.pageObjs[1], doc.pageObjs[2], doc.font};
  WriteFileBytes(dir.file("packed.pdf"), doc.pdf.WriteCompressed(packing).bytes);
  for (const char *name : {"plain.pdf", "packed.pdf"}) {
    SCOPED_TRACE(name);
    const std::string path = dir.file(name);
    EXPECT_TRUE(CheckWithQpdf(path).Clean()) << CheckWithQpdf(path).output;
    EXPECT_EQ(PopplerComplaints(path), "");
    EXPECT_EQ(MutoolPageCount(path), 3);
    for (int page = 1; page <= 3; ++page)
      EXPECT_EQ(PageText(path, page), PageMarker("clean", page));
  }
  EXPECT_NE(QpdfXref(dir.file("packed.pdf")).find("compressed; stream = 10, index = 1"),
            std::string::npos);
}

TEST(Generated, EncryptionEditsChangeOnlyTheirEntry) {
  TempDir dir;
  for (const EncryptionCase &edit : BadEncryptionCases()) {
    SCOPED_TRACE(edit.name);
    const std::string bytes = MakeBadEncryption(edit, dir.path());
    const size_t dict = bytes.find("/Filter /Standard");
    ASSERT_NE(dict, std::string::npos);
    const std::string entries = bytes.substr(dict, bytes.find(">>", dict) - dict);
    if (*edit.to)
      EXPECT_NE(entries.find(edit.to), std::string::npos) << entries;
    else
      EXPECT_EQ(entries.find(std::string(edit.from) + " "), std::string::npos) << entries;
    // The cross-reference still matches: qpdf finds no damage in the file's structure, only,
    // where it notices, in the encryption.
    WriteFileBytes(dir.file("bad.pdf"), bytes);
    const QpdfCheck check = CheckWithQpdf(dir.file("bad.pdf"));
    EXPECT_EQ(check.output.find("file is damaged"), std::string::npos) << check.output;
  }
  // The start is a real RC4 128-bit file that opens with the empty user password.
  WriteFileBytes(dir.file("good.pdf"),
                 MakeEncryptedPdf("enc", 2, "", "owner", "128 --use-aes=n", dir.path()));
  EXPECT_TRUE(CheckWithQpdf(dir.file("good.pdf")).Clean());
  const ChildResult shown =
      RunChild({"/usr/bin/qpdf", "--show-encryption", dir.file("good.pdf")}, 60);
  EXPECT_NE(shown.out.find("R = 3"), std::string::npos) << shown.out;
  EXPECT_EQ(PageText(dir.file("good.pdf"), 2), PageMarker("enc", 2));
}

TEST(Generated, PictureBombsDeclareTheirSizeWithAShortPixelStream) {
  for (unsigned side : {22000u, 100000u}) {
    const std::string png = MakePngHeaderBomb(side, side);
    EXPECT_LT(png.size(), 4096u);
    ASSERT_EQ(png.compare(12, 4, "IHDR"), 0);
    const auto word = [&png](size_t at) {
      return (static_cast<unsigned>(static_cast<unsigned char>(png[at])) << 24) |
             (static_cast<unsigned>(static_cast<unsigned char>(png[at + 1])) << 16) |
             (static_cast<unsigned>(static_cast<unsigned char>(png[at + 2])) << 8) |
             static_cast<unsigned>(static_cast<unsigned char>(png[at + 3]));
    };
    EXPECT_EQ(word(16), side);
    EXPECT_EQ(word(20), side);
    EXPECT_EQ(png[25], 6); // RGBA
    // The chunks' checksums are right, so a reader gets as far as the pixel data.
    for (size_t at = 8; at < png.size();) {
      const unsigned length = word(at);
      const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(png.data() + at + 4), length + 4);
      EXPECT_EQ(word(at + 8 + length), static_cast<unsigned>(crc)) << png.substr(at + 4, 4);
      at += 12 + length;
    }
  }
}

} // namespace
