#include "FuzzEntries.h"

#include "MergerTool.h"
#include "pdf/Limits.h"
#include "pdf/PdfValue.h"
#include "pdf/SourceDocument.h"
#include "pdf/StreamFilters.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fuzz {

namespace {

using engine::pdf::Value;

// Small bounds: a fuzzer's bombs should cost milliseconds, not the real limits' seconds.
constexpr size_t kLimit = size_t{16} << 20;

int Decode(const char *pszFilter, const Value *pParms, const uint8_t *pData, size_t nSize) {
  engine::pdf::DecodeOptions options;
  options.nLimit = kLimit;
  std::string out;
  engine::pdf::DecodeFilter(pszFilter, pParms, reinterpret_cast<const char *>(pData), nSize, out,
                            options);
  return 0;
}

int Flate(const uint8_t *pData, size_t nSize) { return Decode("FlateDecode", nullptr, pData, nSize); }
int Lzw(const uint8_t *pData, size_t nSize) { return Decode("LZWDecode", nullptr, pData, nSize); }
int RunLength(const uint8_t *pData, size_t nSize) {
  return Decode("RunLengthDecode", nullptr, pData, nSize);
}
// ASCII85 and ASCIIHex: the first byte chooses.
int Ascii(const uint8_t *pData, size_t nSize) {
  if (nSize == 0)
    return 0;
  return Decode((pData[0] & 1) ? "ASCII85Decode" : "ASCIIHexDecode", nullptr, pData + 1, nSize - 1);
}

// Predictors: four bytes of parameters (predictor, colors, bits, columns), then the rows, which
// are compressed here so that the predictor sees them whole.
int Predictor(const uint8_t *pData, size_t nSize) {
  if (nSize < 4)
    return 0;
  engine::pdf::Dict parms;
  parms.Set("Predictor", Value(static_cast<int>(pData[0] % 16)));
  parms.Set("Colors", Value(static_cast<int>(pData[1] % 40)));
  parms.Set("BitsPerComponent", Value(static_cast<int>(pData[2] % 20)));
  parms.Set("Columns", Value(static_cast<int64_t>(pData[3]) << (pData[2] % 24)));
  const Value dict(std::move(parms));
  uLongf nOut = compressBound(static_cast<uLong>(nSize - 4));
  std::string packed(nOut, '\0');
  compress2(reinterpret_cast<Bytef *>(packed.data()), &nOut, pData + 4,
            static_cast<uLong>(nSize - 4), 1);
  return Decode("FlateDecode", &dict, reinterpret_cast<const uint8_t *>(packed.data()), nOut);
}

std::string Obj(int num, const std::string &body) {
  return std::to_string(num) + " 0 obj\n" + body + "\nendobj\n";
}

// Reads a document as a merge would: its pages, their resources and their content.
void Read(const std::string &bytes) {
  engine::pdf::OpenStatus status;
  std::string why;
  auto doc = engine::pdf::SourceDocument::OpenBytes(bytes, nullptr, status, why);
  if (doc == nullptr)
    return;
  size_t nPage = 0;
  for (const engine::pdf::PageEntry &page : doc->Pages()) {
    if (++nPage > 50)
      break;
    engine::pdf::ObjectPtr object = doc->Load(page.ref), holder;
    const Value *pContents = doc->Resolve(object->value.Get("Contents"), holder);
    std::string content;
    if (pContents != nullptr && pContents->IsArray())
      doc->JoinContents(pContents->array(), content, nPage);
    else if (holder != nullptr && holder->bStream)
      doc->DecodedStream(object->value.Get("Contents")->IsRef()
                             ? object->value.Get("Contents")->ref().num
                             : 0,
                         *holder, content, kLimit);
  }
}

// An object stream: the data is the stream's decoded content; /N and /First come from its
// first two bytes. The catalog and the page tree are inside it, as 1 0 and 2 0.
int ObjectStream(const uint8_t *pData, size_t nSize) {
  if (nSize < 2)
    return 0;
  const std::string data(reinterpret_cast<const char *>(pData) + 2, nSize - 2);
  std::string out = "%PDF-1.5\n";
  const size_t at = out.size();
  out += Obj(3, "<< /Type /ObjStm /N " + std::to_string(pData[0]) + " /First " +
                    std::to_string(pData[1]) + " /Length " + std::to_string(data.size()) +
                    " >>\nstream\n" + data + "\nendstream");
  const size_t xref = out.size();
  std::string rows;
  auto row = [&rows](int type, size_t f2, int f3) {
    rows += static_cast<char>(type);
    rows += static_cast<char>((f2 >> 24) & 0xFF);
    rows += static_cast<char>((f2 >> 16) & 0xFF);
    rows += static_cast<char>((f2 >> 8) & 0xFF);
    rows += static_cast<char>(f2 & 0xFF);
    rows += static_cast<char>(f3);
  };
  row(0, 0, 255);
  row(2, 3, 0);
  row(2, 3, 1);
  row(1, at, 0);
  row(1, xref, 0);
  out += Obj(4, "<< /Type /XRef /Size 5 /W [1 4 1] /Root 1 0 R /Length " +
                    std::to_string(rows.size()) + " >>\nstream\n" + rows + "\nendstream");
  out += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
  Read(out);
  return 0;
}

// Cross-reference sections: the data stands where the file's last section belongs, after a
// small sound body, and startxref leads to it.
int Xref(const uint8_t *pData, size_t nSize) {
  std::string out = "%PDF-1.7\n";
  out += Obj(1, "<< /Type /Catalog /Pages 2 0 R >>");
  out += Obj(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  out += Obj(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>");
  const size_t at = out.size();
  out.append(reinterpret_cast<const char *>(pData), nSize);
  out += "\nstartxref\n" + std::to_string(at) + "\n%%EOF\n";
  Read(out);
  return 0;
}

// The whole reader, then a merge of the file with the engine's own API.
int Reader(const uint8_t *pData, size_t nSize) {
  const std::string bytes(reinterpret_cast<const char *>(pData), nSize);
  Read(bytes);
  static const std::string folder = [] {
    char name[] = "/tmp/vantorel-fuzz-XXXXXX";
    const char *pszMade = mkdtemp(name);
    return std::string(pszMade != nullptr ? pszMade : "/tmp");
  }();
  const std::string in = folder + "/in.pdf", out = folder + "/out.pdf";
  std::ofstream(in, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(nSize));
  const std::wstring win(in.begin(), in.end()), wout(out.begin(), out.end());
  const int32_t nPages = MergerTool::GetPdfInfo(win.c_str());
  if (nPages > 0 && nPages <= 200) {
    MergerTool tool;
    tool.SetLayout(1, 1, 0);
    tool.SetOutPDFPath(wout.c_str());
    tool.AppendMergeSrc(0, win.c_str(), nPages, nullptr, nullptr);
    tool.AppendMergeSrc(1, win.c_str(), nPages, "1", nullptr);
    tool.StartMerge(0);
  }
  unlink(out.c_str());
  return 0;
}

const Target kTargets[] = {
    {"flate", Flate},   {"lzw", Lzw},         {"predictor", Predictor}, {"ascii", Ascii},
    {"runlength", RunLength}, {"objstm", ObjectStream}, {"xref", Xref},  {"reader", Reader},
    {nullptr, nullptr}};

} // namespace

const Target *Targets() { return kTargets; }

const Target *FindTarget(const char *pszName) {
  for (const Target *p = kTargets; p->name != nullptr; ++p)
    if (std::strcmp(p->name, pszName) == 0)
      return p;
  return nullptr;
}

} // namespace fuzz
