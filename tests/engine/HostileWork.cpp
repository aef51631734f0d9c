// Files that readers show but a strict reader refuses, and files of a few kilobytes that ask
// for gigabytes or minutes of work: shared /Kids arrays, /Order arrays that name each other,
// one content stream named thousands of times, object streams read in turns, predictor and
// LZW bombs.

#include "HostilePdf.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace {

std::string Ref(int num) { return std::to_string(num) + " 0 R"; }

std::string Deflate(const std::string &data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef *>(out.data()), &size,
                reinterpret_cast<const Bytef *>(data.data()), static_cast<uLong>(data.size()),
                9) != Z_OK)
    throw std::runtime_error("compress2 failed");
  out.resize(size);
  return out;
}

std::string Replaced(std::string text, const std::string &from, const std::string &to) {
  const size_t at = text.rfind(from);
  if (at == std::string::npos)
    throw std::logic_error("no " + from);
  return text.replace(at, from.size(), to);
}

// ---- what readers read: a three-page text file (font 1, page tree 2, pages 4, 6 and 8,
// catalog 9) with one text replaced.

std::string Edited(const char *label, const std::string &from, const std::string &to) {
  return Replaced(MakeTextPdf(label, 3).pdf.Write().bytes, from, to);
}

std::string KidsInline() {
  TextPdf doc = MakeTextPdf("kids-inline", 3);
  std::string kids = "[";
  for (int page : doc.pageObjs)
    kids += Replaced(doc.pdf.Body(page), "/Parent " + Ref(doc.pages), "") + "\n";
  doc.SetKids(kids + "]", "3");
  return doc.pdf.Write().bytes;
}

// ---- work bombs

// 1,000 nodes share one /Kids array of 1,000 references to the same page, whose resources are
// large: a million listings that each used to copy them.
std::string OrderBomb() {
  TextPdf doc = MakeTextPdf("order_bomb", 1);
  std::string fonts;
  for (int i = 0; i < 400; ++i)
    fonts += "/F" + std::to_string(i + 2) + " " + Ref(doc.font) + " ";
  doc.ReplaceInPage(1, "/Font <<", "/Font << " + fonts);
  std::string toPage = "[", toNodes = "[";
  for (int i = 0; i < 1000; ++i)
    toPage += Ref(doc.pageObjs[0]) + (i % 16 == 15 ? "\n" : " ");
  const int pageKids = doc.pdf.Add(toPage + "]");
  for (int i = 0; i < 1000; ++i)
    toNodes += Ref(doc.pdf.Add("<< /Type /Pages /Kids " + Ref(pageKids) + " /Count 1000 >>")) +
               (i % 16 == 15 ? "\n" : " ");
  doc.SetKids(toNodes + "]", "1000000");
  return doc.pdf.Write().bytes;
}

// The layers panel's order: 40 arrays, each naming the next one twice and the first once.
std::string OrderCycle() {
  TextPdf doc = MakeTextPdf("order_cycle", 1);
  const int ocg = doc.pdf.Add("<< /Type /OCG /Name (Layer) >>");
  std::vector<int> arrays;
  for (int i = 0; i < 40; ++i)
    arrays.push_back(doc.pdf.Reserve());
  for (int i = 0; i < 40; ++i) {
    const int next = arrays[(i + 1) % 40];
    doc.pdf.Set(arrays[i],
                "[" + Ref(ocg) + " " + Ref(next) + " " + Ref(next) + " " + Ref(arrays[0]) + "]");
  }
  doc.pdf.Set(doc.catalog, "<< /Type /Catalog /Pages " + Ref(doc.pages) +
                               " /OCProperties << /OCGs [" + Ref(ocg) + "] /D << /Order " +
                               Ref(arrays[0]) + " >> >> >>");
  return doc.pdf.Write().bytes;
}

// Page 1's content: its marker, then one stream of 1 MB of white space named 20,000 times.
std::string ContentsRepeat() {
  TextPdf doc = MakeTextPdf("contents_repeat", 2);
  const int blank =
      doc.pdf.Add(StreamObject("/Filter /FlateDecode", Deflate(std::string(1 << 20, ' '))));
  std::string parts = "[" + Ref(doc.contents[0]);
  for (int i = 0; i < 20000; ++i)
    parts += (i % 16 == 0 ? "\n" : " ") + Ref(blank);
  doc.ReplaceInPage(1, "/Contents " + Ref(doc.contents[0]),
                    "/Contents " + Ref(doc.pdf.Add(parts + "]")));
  return doc.pdf.Write().bytes;
}

// The pages in two object streams of 60 MB each (white space, then the objects), in turns, so
// that the page tree's walk goes back and forth between them. No table: the reader finds the
// streams by a scan.
std::string ObjstmInterleaved() {
  TextPdf doc = MakeTextPdf("objstm_interleaved", 200);
  std::string out = "%PDF-1.5\n", head[2], objects[2] = {std::string(60 << 20, ' '), ""};
  objects[1] = objects[0];
  int count[2] = {0, 0};
  for (int num = 1; num <= doc.pdf.Highest(); ++num) {
    const auto at = std::find(doc.pageObjs.begin(), doc.pageObjs.end(), num);
    const size_t s = static_cast<size_t>(at - doc.pageObjs.begin()) % 2;
    if (at == doc.pageObjs.end()) {
      out += std::to_string(num) + " 0 obj\n" + doc.pdf.Body(num) + "\nendobj\n";
      continue;
    }
    head[s] += std::to_string(num) + " " + std::to_string(objects[s].size()) + " ";
    objects[s] += doc.pdf.Body(num) + "\n";
    ++count[s];
  }
  for (size_t s = 0; s < 2; ++s)
    out += std::to_string(doc.pdf.Highest() + 1 + s) + " 0 obj\n" +
           StreamObject("/Type /ObjStm /Filter /FlateDecode /N " + std::to_string(count[s]) +
                            " /First " + std::to_string(head[s].size()),
                        Deflate(head[s] + objects[s])) +
           "\nendobj\n";
  return out + "trailer\n<< /Root " + Ref(doc.catalog) + " >>\n%%EOF\n";
}

} // namespace

std::string SlowToRead(int nStreams) {
  std::string out = "%PDF-1.5\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n"
                    "2 0 obj\n<< /Type /Pages /Kids [] /Count 0 >>\nendobj\n";
  const std::string stream = StreamObject("/Type /ObjStm /N 1 /First 4 /Filter /FlateDecode",
                                          Deflate("3 0 " + std::string(60 << 20, ' ')));
  for (int i = 0; i < nStreams; ++i)
    out += std::to_string(10 + i) + " 0 obj\n" + stream + "\nendobj\n";
  return out + "trailer\n<< /Root 1 0 R >>\n";
}

std::string LzwZeros(size_t nCodes) {
  std::string out;
  uint32_t buffer = 0, next = 258;
  int bits = 0;
  auto put = [&](uint32_t code) {
    // The code width grows one code early, as the decoder's does (/EarlyChange 1).
    const uint32_t coming = next + 1;
    const int width = coming >= 2048 ? 12 : coming >= 1024 ? 11 : coming >= 512 ? 10 : 9;
    buffer = (buffer << width) | code;
    for (bits += width; bits >= 8; bits -= 8)
      out += static_cast<char>((buffer >> (bits - 8)) & 0xFF);
  };
  put(0);
  // Each code is the string being defined: the one before and one zero more.
  for (; next < 4095; ++next)
    put(next);
  for (size_t i = 0; i < nCodes; ++i)
    put(4094);
  put(257);
  if (bits > 0)
    out += static_cast<char>((buffer << (8 - bits)) & 0xFF);
  return out;
}

namespace {

std::string LzwContentBomb() {
  TextPdf doc = MakeTextPdf("lzw_content_bomb", 2);
  const int bomb = doc.pdf.Add(StreamObject("/Filter /LZWDecode", LzwZeros(300000)));
  doc.ReplaceInPage(1, "/Contents " + Ref(doc.contents[0]),
                    "/Contents [" + Ref(bomb) + " " + Ref(doc.contents[0]) + "]");
  return doc.pdf.Write().bytes;
}

// 100,000 objects, each a string that never ends: every value read to the end of the file.
std::string StringsUnclosed() {
  std::string out = "%PDF-1.4\n";
  for (int i = 1; i <= 100000; ++i)
    out += std::to_string(i) + " 0 obj << /Type (\n";
  return out;
}

} // namespace

const std::vector<HostileCase> &ReaderRepairCases() {
  static const std::vector<HostileCase> cases = {
      {"root-nan", 3, [] { return Edited("root-nan", "/Root 9 0 R", "/Root NaN"); }},
      {"nan-in-page", 3,
       [] { return Edited("nan-in-page", "/Contents 5 0 R", "/A NaN /Rotate 0 /Contents 5 0 R"); }},
      {"page-unclosed", 3,
       [] { return Edited("page-unclosed", "/Contents 5 0 R >>", "/Contents 5 0 R"); }},
      {"junk-before-header", 3,
       [] {
         return std::string(700, 'J') + "\n" +
                MakeTextPdf("junk-before-header", 3).pdf.Write().bytes;
       }},
      {"no-header", 3, [] { return Edited("no-header", "%PDF-1.4\n", "         \n"); }},
      {"catalog-misplaced", 3,
       [] { return Edited("catalog-misplaced", "/Root 9 0 R", "/Root 1 0 R"); }},
      {"kids-inline", 3, KidsInline},
  };
  return cases;
}

const std::vector<WorkCase> &WorkBombCases() {
  static const std::vector<WorkCase> cases = {
      {"order_bomb", OrderBomb, 100000, "the page tree is larger than the engine reads"},
      {"order_cycle", OrderCycle, 1, "order repeats itself"},
      {"contents_repeat", ContentsRepeat, 2, "names the same part more than once"},
      {"objstm_interleaved", ObjstmInterleaved, -1, "more decoding than its size explains"},
      {"lzw_content_bomb", LzwContentBomb, 2, "decodes to more than 128 MB"},
      {"strings_unclosed", StringsUnclosed, -1, "no document catalog"},
  };
  return cases;
}

// A scanned page: a JPEG drawn over the page, whose /Length is an object of its own. The table
// is damaged: page 2's entry leads into the middle of its object, and the picture's says it is
// in use at offset 0, which tables mean as deleted.
std::string ScanXrefWrong(const std::string &jpeg) {
  TextPdf doc = MakeTextPdf("scan-xref-wrong", 2);
  const int length = doc.pdf.Add(std::to_string(jpeg.size()));
  const int image = doc.pdf.Add("<< /Type /XObject /Subtype /Image /Width 64 /Height 48 "
                                "/ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /DCTDecode "
                                "/Length " +
                                Ref(length) + " >>\nstream\n" + jpeg + "\nendstream");
  const int content = doc.pdf.Add(StreamObject("", "q 300 0 0 200 100 300 cm /Im1 Do Q"));
  doc.ReplaceInPage(1, "/Contents " + Ref(doc.contents[0]),
                    "/Contents [" + Ref(doc.contents[0]) + " " + Ref(content) + "]");
  doc.ReplaceInPage(1, "/Resources <<", "/Resources << /XObject << /Im1 " + Ref(image) + " >>");
  RawPdf::Layout layout = doc.pdf.Write();
  const size_t table = layout.bytes.find("0000000000 65535 f", layout.xref);
  layout.bytes.replace(table + 20 * doc.pageObjs[1], 10, "0000000009"); // into the header
  layout.bytes.replace(table + 20 * image, 10, "0000000000");
  return layout.bytes;
}
