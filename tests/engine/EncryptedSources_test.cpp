// Encryption as other programs write it and as other readers read it: passwords in any script
// for every revision, and encryption dictionaries that readers open although they are unusual.
// Sources are made by qpdf; outputs are judged by qpdf and poppler.
#include "AnsiText.h"
#include "HostilePdf.h"
#include "MergeTestSupport.h"
#include "OutputChecks.h"
#include "PdfMaker.h"
#include "Protection.h"
#include "ReferenceReaders.h"
#include "pdf/PdfWriter.h"
#include "pdf/SourceDocument.h"
#include "pdf/StandardSecurity.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// Passwords as typed (UTF-8) and in PDFDocEncoding (empty: it has no such characters).
const struct {
  const char *utf8, *pdfDoc;
} kPasswords[] = {{"\xC3\xA9t\xC3\xA9", "\xE9t\xE9"},
                  {"pw\xE2\x82\xAC", "pw\xA0"},
                  {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", ""},
                  {"pw\xF0\x9F\x98\x80", ""}};

using engine::pdf::Value;

// A one-page file encrypted with `cipher` under the dictionary `dict`, with an XMP metadata
// stream and the objects `extra` (numbered from 6, written as they are); check, when set, runs
// before the file replaces its target. Finish's result.
bool WriteProtected(const std::string &path, const Value &dict,
                    std::unique_ptr<engine::pdf::ObjectCipher> cipher, const std::string &id,
                    const std::vector<std::string> &extra = {},
                    engine::pdf::PdfWriter::CommitCheck check = {}) {
  engine::pdf::PdfWriter writer(path);
  const uint32_t nEncrypt = writer.Reserve(), nCatalog = writer.Reserve(),
                 nPages = writer.Reserve(), nPage = writer.Reserve(), nMeta = writer.Reserve();
  writer.SetEncryption(std::move(cipher), nEncrypt);
  writer.SetCommitCheck(std::move(check));
  writer.WriteObject(nEncrypt, dict);
  for (const std::string &text : extra)
    writer.WriteObjectText(writer.Reserve(), text);
  const std::string n = std::to_string(nPages);
  writer.WriteObjectText(nCatalog, "<</Type /Catalog /Pages " + n + " 0 R /Metadata " +
                                       std::to_string(nMeta) + " 0 R>>");
  writer.WriteObjectText(nPages,
                         "<</Type /Pages /Count 1 /Kids [" + std::to_string(nPage) + " 0 R]>>");
  writer.WriteObjectText(nPage, "<</Type /Page /Parent " + n + " 0 R /MediaBox [0 0 200 200]>>");
  engine::pdf::Dict meta;
  meta.Set("Type", Value::MakeName("Metadata"));
  meta.Set("Subtype", Value::MakeName("XML"));
  writer.WriteStream(nMeta, Value(std::move(meta)), "<?xpacket begin=\"\"?><x:xmpmeta/>");
  engine::pdf::Dict trailer;
  trailer.Set("Root", Value(engine::pdf::Ref{nCatalog, 0}));
  trailer.Set("Encrypt", Value(engine::pdf::Ref{nEncrypt, 0}));
  trailer.Set("ID",
              Value(engine::pdf::Array{Value::MakeString(id, true), Value::MakeString(id, true)}));
  return writer.Finish(Value(std::move(trailer)), 17) && writer.Commit();
}

// AES-256 whose crypt filters, the filter they name and the password checks are all given by
// reference. poppler, which opens it, is the judge of the file.
std::string IndirectFilters(const std::string &dir) {
  const std::string id(16, '\x21'), path = dir + "/indirect.pdf";
  auto security = engine::pdf::StandardSecurity::Create(6, "", "owner", -4, id);
  Value dict = security->Dictionary();
  std::vector<std::string> extra{"<</StdCF 7 0 R>>", "", "", ""}; // objects 6 to 9
  engine::pdf::AppendValue(extra[1], *dict.Get("CF")->Get("StdCF"));
  engine::pdf::AppendValue(extra[2], *dict.Get("O"));
  engine::pdf::AppendValue(extra[3], *dict.Get("U"));
  dict.dict().Set("CF", Value(engine::pdf::Ref{6, 0}));
  dict.dict().Set("O", Value(engine::pdf::Ref{8, 0}));
  dict.dict().Set("U", Value(engine::pdf::Ref{9, 0}));
  WriteProtected(path, dict, std::move(security), id, extra);
  return ReadFileBytes(path);
}

// AES-128 whose /O starts with FF FE, the mark of a UTF-16 text: a binary string all the same.
std::string MarkedOwnerCheck(const std::string &dir) {
  const std::string bytes = MakeEncryptedPdf("marked", 2, "", "owner52769", "128 --use-aes=y", dir);
  if (bytes.find("/O <fffe") == std::string::npos)
    throw std::runtime_error("the owner check does not start with FF FE");
  return bytes;
}

std::string RealKeyLength(const std::string &dir) {
  return MakeBadEncryption({"real-length", "/Length", "/Length 128.0"}, dir);
}

// Only the embedded file is encrypted (/EFF); strings and page streams are clear. Made with the
// engine's AES-128 cipher, the one qpdf reads back in every AES-128 output. (qpdf 11, mutool and
// poppler hand such an attachment out still encrypted: they apply /StmF to it.)
const char kAttached[] = "attached text, readable only with the key";

std::string EmbeddedOnly(const std::string & /*dir*/) {
  TextPdf doc = MakeTextPdf("embedded", 2);
  const std::string id(16, 'Z');
  auto security = engine::pdf::StandardSecurity::Create(4, "", "owner", -4, id);
  const int nFile = doc.pdf.Reserve();
  doc.pdf.Set(nFile,
              StreamObject("/Type /EmbeddedFile",
                           security->EncryptWith(engine::pdf::CryptMethod::Aes,
                                                 {static_cast<uint32_t>(nFile), 0}, kAttached)));
  const int nSpec = doc.pdf.Add("<< /Type /Filespec /F (note.txt) /EF << /F " +
                                std::to_string(nFile) + " 0 R >> >>");
  std::string catalog = doc.pdf.Body(doc.catalog);
  catalog.insert(catalog.rfind(">>"), " /Names << /EmbeddedFiles << /Names [(note.txt) " +
                                          std::to_string(nSpec) + " 0 R] >> >> ");
  doc.pdf.Set(doc.catalog, catalog);
  Value dict = security->Dictionary();
  dict.dict().Set("StmF", Value::MakeName("Identity"));
  dict.dict().Set("StrF", Value::MakeName("Identity"));
  dict.dict().Set("EFF", Value::MakeName("StdCF"));
  std::string text;
  engine::pdf::AppendValue(text, dict);
  doc.pdf.trailerExtra +=
      " /Encrypt " + std::to_string(doc.pdf.Add(text)) + " 0 R /ID [(" + id + ") (" + id + ")]";
  return doc.pdf.Write().bytes;
}

struct UnusualCase {
  const char *name;
  std::string (*make)(const std::string &dir);
  int pages;
  const char *label; // its pages' marker, when they have one
};
// Names the case in CTest's list, which would otherwise show its bytes.
inline void PrintTo(const UnusualCase &c, std::ostream *out) { *out << c.name; }

class UnusualEncryption : public ::testing::TestWithParam<UnusualCase> {};

TEST_P(UnusualEncryption, OpensWithoutAPasswordAndMerges) {
  TempDir dir;
  const std::string path = dir.file("odd.pdf"), out = dir.file("out.pdf");
  WriteFileBytes(path, GetParam().make(dir.path()));
  const int pages = GetParam().pages;
  // Another reader opens it without a password (qpdf follows no reference for /O; poppler
  // takes no real number for /Length).
  ASSERT_EQ(std::max(QpdfPageCount(path), PopplerPageCount(path)), pages);
  int32_t status = -1;
  std::wstring why;
  EXPECT_EQ(MergerTool::ProbeSource(Wide(path).c_str(), nullptr, &status, &why), pages)
      << WideToUtf8(why);
  MergerTool job;
  ASSERT_TRUE(MergeOntoA4(job, out, {{path}})) << WideToUtf8(job.GetFailureText());
  ASSERT_TRUE(job.GetNotices().empty()) << WideToUtf8(job.GetNotices()[0].strText);
  EXPECT_EQ(QpdfPageCount(out), pages);
  if (GetParam().label != nullptr) {
    EXPECT_EQ(MarkedProblem(out, 1, pages, GetParam().label), "");
  }
  EXPECT_EQ(OutputProblem(out), "");
}

const UnusualCase kUnusualCases[] = {{"aes256_indirect_filters", IndirectFilters, 1, nullptr},
                                     {"owner_check_marked_fffe", MarkedOwnerCheck, 2, "marked"},
                                     {"key_length_real", RealKeyLength, 3, "enc-real-length"},
                                     {"embedded_files_only", EmbeddedOnly, 2, nullptr}};

INSTANTIATE_TEST_SUITE_P(Readable, UnusualEncryption, ::testing::ValuesIn(kUnusualCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(UnusualEncryption, EmbeddedFilesAreDecryptedByTheirOwnFilter) {
  TempDir dir;
  const std::string path = dir.file("embedded.pdf");
  WriteFileBytes(path, EmbeddedOnly(dir.path()));
  engine::pdf::OpenStatus status;
  std::string why;
  auto doc = engine::pdf::SourceDocument::Open(path, nullptr, status, why);
  ASSERT_NE(doc, nullptr) << why;
  const std::string bytes = ReadFileBytes(path);
  const size_t at = bytes.rfind("/Type /EmbeddedFile");
  const uint32_t num = static_cast<uint32_t>(
      std::stoul(bytes.substr(bytes.rfind("\n", bytes.rfind(" 0 obj", at)) + 1)));
  std::string data;
  ASSERT_EQ(doc->DecodedStream(num, *doc->Load({num, 0}), data), engine::pdf::DecodeResult::Ok);
  EXPECT_EQ(data, kAttached);
}

// Sources: each revision qpdf writes, with a password in each script; the password typed
// (UTF-8) opens them whatever encoding the writer chose, and so does the owner password.
TEST(PasswordMatrix, SourcesOpenWithThePasswordAsTyped) {
  TempDir dir;
  for (const char *args : {"40", "128 --use-aes=n", "128 --use-aes=y", "256 --force-R5", "256"}) {
    for (const auto &pw : kPasswords) {
      SCOPED_TRACE(std::string(args) + " " + pw.utf8);
      // Up to AES-128 qpdf writes PDFDocEncoding where it can, else the UTF-8 bytes.
      const bool bBytes = *pw.pdfDoc == '\0' && std::string(args).rfind("256", 0) != 0;
      const std::string owner = std::string("o") + pw.utf8, path = dir.file("m.pdf");
      WriteFileBytes(path, MakeEncryptedPdf("m", 2, pw.utf8, owner, args, dir.path(),
                                            bBytes ? "bytes" : "auto"));
      int32_t status = -1;
      for (const std::string &password : {std::string(pw.utf8), owner})
        EXPECT_EQ(MergerTool::ProbeSource(Wide(path).c_str(), password.c_str(), &status, nullptr),
                  2);
      EXPECT_EQ(MergerTool::ProbeSource(Wide(path).c_str(), "wrong", &status, nullptr), -1);
      EXPECT_EQ(status, PROBE_WRONG_PASSWORD);
    }
  }
}

// Outputs: every encryption with a password in each script, read back by qpdf (which encodes
// the password as the revision wants) and by poppler (which takes the bytes it is given).
TEST(PasswordMatrix, OutputsOpenInOtherReaders) {
  TempDir dir;
  MakeNumberedPdf(dir.file("a.pdf"), 2);
  for (int code : {ENCRYPT_RC4_40, ENCRYPT_RC4_128, ENCRYPT_AES_128, ENCRYPT_AES_256}) {
    for (const auto &pw : kPasswords) {
      const char *password = pw.utf8;
      SCOPED_TRACE(std::to_string(code) + " " + password);
      const std::string out = dir.file("out.pdf");
      MergerTool job;
      job.SetEncryption(code);
      job.SetPasswordsUtf8(true);
      job.SetOpenPwd(password);
      job.SetPemissionPwd((std::string("o") + password).c_str(), false, false, true);
      const bool bMerged = MergeOntoA4(job, out, {{dir.file("a.pdf")}});
      const std::string bytes = code == ENCRYPT_AES_256 ? pw.utf8 : pw.pdfDoc;
      if (bytes.empty()) {
        EXPECT_FALSE(bMerged); // no character of it in PDFDocEncoding
        EXPECT_EQ(job.GetFailureCode(), MERGE_FAILURE_PASSWORD);
        continue;
      }
      ASSERT_TRUE(bMerged) << WideToUtf8(job.GetFailureText());
      EXPECT_EQ(QpdfPageCount(out, password), 2);
      EXPECT_EQ(QpdfPageCount(out, std::string("o") + password), 2);
      EXPECT_EQ(QpdfPageCount(out), -1);
      EXPECT_NE(RunCommand("pdfinfo -upw '" + bytes + "' '" + out + "' 2>&1").find("Pages:"),
                std::string::npos);
    }
  }
}

// A file ID is binary: one that starts as a UTF-16 or UTF-8 text does (one output in about
// 16,000 had such an ID) keeps all its bytes in the key, and readers open the file.
TEST(BinaryStrings, FileIdsThatLookLikeText) {
  TempDir dir;
  const std::string path = dir.file("id.pdf");
  for (const std::string &prefix : {std::string("\xFE\xFF"), std::string("\xFF\xFE"),
                                    std::string("\xEF\xBB\xBF"), std::string("\0\0", 2)}) {
    for (int revision : {2, 3, 4, 6}) {
      SCOPED_TRACE(std::to_string(revision));
      const std::string id = prefix + std::string(13, '\x42');
      auto security = engine::pdf::StandardSecurity::Create(revision, "", "owner", -4, id);
      const Value dict = security->Dictionary();
      ASSERT_TRUE(WriteProtected(path, dict, std::move(security), id));
      EXPECT_EQ(QpdfPageCount(path), 1);
      EXPECT_EQ(PopplerPageCount(path), 1);
    }
  }
}

// The read-back before an encrypted output replaces anything: an output whose data was
// encrypted with another key than its dictionary gives (the shape of a broken output), one
// that needs a password nobody gave, and one with pages missing are refused; the target keeps
// what it held.
TEST(ReadBack, RefusesOutputsThatDoNotOpenAsWritten) {
  TempDir dir;
  const std::string path = dir.file("out.pdf"), id(16, '\x17');
  const struct {
    const char *name;
    const char *user; // the dictionary's user password
    bool otherKey;    // the data encrypted with another key
    size_t pages;     // the pages the check expects
    const char *reason;
  } cases[] = {{"sound", "", false, 1, ""},
               {"other key", "", true, 1, "do not decrypt"},
               {"needs a password", "x", false, 1, "does not open"},
               {"pages missing", "", false, 2, "1 pages instead of 2"}};
  for (int revision : {2, 4, 6}) {
    for (const auto &c : cases) {
      SCOPED_TRACE(std::string(c.name) + " " + std::to_string(revision));
      WriteFileBytes(path, "what the user had");
      auto security = engine::pdf::StandardSecurity::Create(revision, c.user, "o", -4, id);
      const Value dict = security->Dictionary();
      if (c.otherKey)
        security = engine::pdf::StandardSecurity::Create(revision, c.user, "o", -4, "another id");
      std::string said;
      const bool bWritten =
          WriteProtected(path, dict, std::move(security), id, {}, [&](const std::string &staged) {
            said = engine::CheckProtectedOutput(staged, "", c.pages);
            return said;
          });
      EXPECT_EQ(bWritten, std::string(c.reason).empty());
      EXPECT_NE(said.find(c.reason), std::string::npos) << said;
      if (!bWritten) {
        EXPECT_EQ(ReadFileBytes(path), "what the user had");
      }
    }
  }
}

} // namespace
