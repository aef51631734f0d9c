// Faults of the reader and writer found by reading the code, each pinned by a table: numbers out
// of range, values readers mend, decoders against known data and bombs, the guard's slots, a
// document's mapping given back and taken again, and writes the output must refuse.
#include "HostilePdf.h"
#include "pdf/Limits.h"
#include "pdf/MappedFile.h"
#include "pdf/PdfParser.h"
#include "pdf/PdfWriter.h"
#include "pdf/SourceDocument.h"
#include "pdf/StreamFilters.h"
#include "pdf/XrefOffsets.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <thread>

using namespace engine::pdf;

namespace {

TEST(ReaderFaults, NumbersAndValuesAreReadAsReadersReadThem) {
  const double reals[] = {NAN, 1e300, -1e300, 9.3e18, -3.9, INFINITY};
  const int64_t whole[] = {-7, INT64_MAX, INT64_MIN, INT64_MAX, -3, INT64_MAX};
  for (size_t i = 0; i < 6; ++i)
    EXPECT_EQ(ClampToInt64(reals[i], -7), whole[i]) << reals[i];
  static const std::string kManyDigits(400, '9');
  const struct {
    const char *in, *out;
  } cases[] = {
      {"123456789012345678901234567", "123456789012345678152597504"}, // a real, not inf
      {kManyDigits.c_str(), "0"}, // too many digits even for a real
      {"<< /A NaN /B 2 >>", "<</B 2>>"},
      {"[1 NaN 2 inf]", "[1 2]"},
      {"<< /Type /Page /A 1\nendobj", "<</Type/Page/A 1>>"},
      {"<< /Type /Page /A [1 2\nendobj", "<</Type/Page/A[1 2]>>"},
      {"<< /A 1 ) /B 2 >>", "<</A 1/B 2>>"},
      {"<< /A 1 2 /B 3 >>", "<</A 1/B 3>>"},
      {"[1 2", "[1 2]"},
      {"<< /A (open", "<<>>"},
  };
  for (const auto &c : cases) {
    const std::string in = c.in;
    Parser parser(in.data(), in.size());
    Value value;
    ASSERT_TRUE(parser.ReadValue(value)) << in;
    std::string text;
    AppendValue(text, value);
    EXPECT_EQ(text, c.out) << in;
    if (value.IsNumber()) {
      EXPECT_TRUE(std::isfinite(value.number())) << in;
    }
  }
  Parser junk("NaN", 3);
  Value value;
  EXPECT_FALSE(junk.ReadValue(value));
  EXPECT_EQ(junk.Error().Describe(), "expected a value at byte 0");
}

DecodeResult Decode(const char *filter, const std::string &parms, const std::string &in,
                    std::string &out, size_t nLimit = size_t{1} << 30) {
  Value dict;
  Parser parser(parms.data(), parms.size());
  if (!parms.empty())
    parser.ReadValue(dict);
  DecodeOptions options;
  options.nLimit = nLimit;
  return DecodeFilter(filter, parms.empty() ? nullptr : &dict, in.data(), in.size(), out, options);
}

TEST(ReaderFaults, DecodersGiveKnownDataAndStopAtTheirBounds) {
  const struct {
    const char *filter, *parms;
    std::string in, out;
    DecodeResult result;
  } cases[] = {
      {"LZWDecode", "", std::string("\x80\x0B\x60\x50\x22\x0C\x0C\x85\x01", 9), "-----A---B",
       DecodeResult::Ok},
      {"LZWDecode", "", std::string("\x80\x7F\xFF\xF0", 4), "", DecodeResult::Damaged},
      {"ASCIIHexDecode", "", "61 62 6>", "ab`", DecodeResult::Ok},
      {"ASCIIHexDecode", "", "61x", "", DecodeResult::Damaged},
      {"ASCII85Decode", "", "9jqo^~>", "Man ", DecodeResult::Ok},
      {"RunLengthDecode", "", std::string("\x02xyz\xFEq\x80", 7), "xyzqqq", DecodeResult::Ok},
      // Rows claimed 1 GB long over three bytes of data: one short row, nothing more.
      {"FlateDecode", "<< /Predictor 12 /Colors 32 /BitsPerComponent 16 /Columns 16777216 >>",
       std::string("\x78\x9C\x63\x64\x62\x06\x00\x00\x0D\x00\x07", 11), std::string("\x02\x03", 2),
       DecodeResult::Ok},
  };
  for (const auto &c : cases) {
    std::string out;
    EXPECT_EQ(Decode(c.filter, c.parms, c.in, out), c.result) << c.filter << " " << c.in;
    if (c.result == DecodeResult::Ok) {
      EXPECT_EQ(out, c.out) << c.filter;
    }
  }
  // Long LZW strings, through the prefix table: every byte a zero, and the bound holds.
  std::string out;
  ASSERT_EQ(Decode("LZWDecode", "", LzwZeros(10), out), DecodeResult::Ok);
  EXPECT_EQ(out.size(), 7367041u + 10 * 3838u);
  EXPECT_EQ(out.find_first_not_of('\0'), std::string::npos);
  const uint64_t hits = engine::limits::HitCount(engine::limits::Bound::DecodedStream);
  EXPECT_EQ(Decode("LZWDecode", "", LzwZeros(1000), out, 1 << 20), DecodeResult::TooLarge);
  EXPECT_EQ(engine::limits::HitCount(engine::limits::Bound::DecodedStream), hits + 1);
}

TEST(ReaderFaults, OutputRefusesWritesItDidNotHandOut) {
  TempDir dir;
  XrefOffsets offsets;
  offsets.Add();
  offsets.Add();
  offsets.Set(1, {XrefOffsets::Entry::InFile, 0, 10});
  EXPECT_THROW(offsets.Set(1, {XrefOffsets::Entry::InFile, 0, 20}), std::logic_error);

  for (int kind = 0; kind < 2; ++kind) {
    PdfWriter writer(dir.file("out.pdf"));
    const uint32_t n = writer.Reserve();
    writer.WriteObject(n, Value(1));
    if (kind == 0)
      writer.WriteObject(n + 5, Value(2)); // never reserved
    else
      writer.WriteStream(n, Value(Dict()), "again");
    EXPECT_FALSE(writer.Ok()) << kind;
    EXPECT_FALSE(writer.Finish(Value(Dict()), 14)) << kind;
    EXPECT_FALSE(FileExists(dir.file("out.pdf"))) << kind;
  }
}

// Files opened at once on several threads never share a guard slot; past the table's size
// they are read instead of mapped, with the same bytes.
TEST(ReaderFaults, GuardSlotsAreNeverShared) {
  TempDir dir;
  const std::string path = dir.file("a.pdf");
  WriteFileBytes(path, "%PDF-1.4\n%%EOF\n");
  for (int round = 0; round < 20; ++round) {
    std::vector<std::unique_ptr<MappedFile>> files[4];
    std::vector<std::thread> threads;
    for (auto &mine : files)
      threads.emplace_back([&mine, &path] {
        for (std::string why; mine.size() < 80;)
          mine.push_back(MappedFile::Open(path, why));
      });
    std::set<int> slots;
    for (size_t t = 0; t < 4; ++t) {
      threads[t].join();
      for (auto &file : files[t]) {
        EXPECT_EQ(std::string(file->Data(), file->Size()), "%PDF-1.4\n%%EOF\n");
        const int slot = file->GuardSlot();
        ASSERT_TRUE(slot < 0 || slots.insert(slot).second) << "round " << round;
      }
    }
  }
}

TEST(ReaderFaults, ADocumentGivesItsMappingBackAndNoticesAChangedFile) {
  TempDir dir;
  const std::string path = dir.file("a.pdf");
  WriteFileBytes(path, MakeTextPdf("remap", 2).pdf.Write().bytes);
  for (bool bChange : {false, true}) {
    OpenStatus status;
    std::string why;
    auto doc = SourceDocument::Open(path, nullptr, status, why);
    ASSERT_NE(doc, nullptr) << why;
    const Ref page = doc->Pages()[1].ref;
    doc->Trim();
    EXPECT_FALSE(doc->Mapped());
    if (bChange)
      WriteFileBytes(path, MakeTextPdf("other", 3).pdf.Write().bytes + "\n");
    const ObjectPtr object = doc->Load(page);
    EXPECT_EQ(object->bMissing, bChange);
    EXPECT_EQ(doc->Mapped(), !bChange);
    EXPECT_EQ(doc->Truncated(), bChange);
  }
}

} // namespace
