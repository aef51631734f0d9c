#include "HostilePdf.h"

#include "PictureMaker.h"
#include "support/TempDir.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace {

std::string Ref(int num) { return std::to_string(num) + " 0 R"; }

std::string Padded10(size_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%010zu", value);
  return text;
}

} // namespace

uint64_t SplitMix64::Next() {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// ---------------------------------------------------------------------------------------------
// Writing

int RawPdf::Add(const std::string &body) {
  const int num = Highest() + 1;
  m_bodies[num] = body;
  return num;
}

int RawPdf::Reserve() { return Add("null"); }

void RawPdf::Set(int num, const std::string &body) { m_bodies.at(num) = body; }

namespace {

std::vector<int> WritingOrder(const RawPdf &pdf, const std::vector<int> &order) {
  if (!order.empty())
    return order;
  std::vector<int> all;
  for (int num = 1; num <= pdf.Highest(); ++num)
    all.push_back(num);
  return all;
}

std::string Header(const std::string &version) {
  return "%PDF-" + version + "\n%\xE2\xE3\xCF\xD3\n";
}

void AppendObject(RawPdf::Layout &layout, int num, const std::string &body) {
  layout.offsets[num] = layout.bytes.size();
  layout.bytes += std::to_string(num) + " 0 obj\n" + body + "\nendobj\n";
}

} // namespace

RawPdf::Layout RawPdf::Write() const {
  Layout layout;
  layout.bytes = Header(version);
  for (int num : WritingOrder(*this, order))
    AppendObject(layout, num, m_bodies.at(num));
  layout.xref = layout.bytes.size();
  std::string &out = layout.bytes;
  out += "xref\n0 " + std::to_string(Highest() + 1) + "\n0000000000 65535 f \n";
  for (int num = 1; num <= Highest(); ++num) {
    auto found = layout.offsets.find(num);
    out += found == layout.offsets.end() ? "0000000000 65535 f \n"
                                         : Padded10(found->second) + " 00000 n \n";
  }
  out += "trailer\n<< /Size " + std::to_string(Highest() + 1) + " /Root " + Ref(root) +
         trailerExtra + " >>\nstartxref\n" + std::to_string(layout.xref) + "\n%%EOF\n";
  return layout;
}

RawPdf::Layout RawPdf::WriteCompressed(const Packing &packing) const {
  const int stm = Highest() + 1, xrefNum = Highest() + 2;
  Layout layout;
  layout.bytes = Header(version < "1.5" ? "1.5" : version);
  std::map<int, int> index; // packed object -> position in the stream
  for (size_t i = 0; i < packing.packed.size(); ++i)
    index[packing.packed[i]] = static_cast<int>(i);
  for (int num : WritingOrder(*this, order))
    if (!index.count(num))
      AppendObject(layout, num, m_bodies.at(num));

  std::string head, objects;
  for (int num : packing.packed) {
    head += std::to_string(num) + " " + std::to_string(objects.size()) + " ";
    objects += m_bodies.at(num) + "\n";
  }
  const std::string n = packing.n.empty() ? std::to_string(packing.packed.size()) : packing.n;
  const std::string first = packing.first.empty() ? std::to_string(head.size()) : packing.first;
  AppendObject(layout, stm,
               StreamObject("/Type /ObjStm /N " + n + " /First " + first, head + objects));

  // Cross-reference stream, /W [1 4 2], no filter.
  std::string rows;
  auto row = [&rows](int type, uint32_t field2, uint16_t field3) {
    rows += static_cast<char>(type);
    for (int shift = 24; shift >= 0; shift -= 8)
      rows += static_cast<char>((field2 >> shift) & 0xFF);
    rows += static_cast<char>(field3 >> 8);
    rows += static_cast<char>(field3 & 0xFF);
  };
  layout.xref = layout.bytes.size();
  row(0, 0, 65535);
  for (int num = 1; num <= Highest(); ++num) {
    if (index.count(num))
      row(2, static_cast<uint32_t>(stm), static_cast<uint16_t>(index[num]));
    else
      row(1, static_cast<uint32_t>(layout.offsets.at(num)), 0);
  }
  if (packing.insideItself)
    row(2, static_cast<uint32_t>(stm), 0);
  else
    row(1, static_cast<uint32_t>(layout.offsets.at(stm)), 0);
  row(1, static_cast<uint32_t>(layout.xref), 0);
  AppendObject(layout, xrefNum,
               StreamObject("/Type /XRef /Size " + std::to_string(xrefNum + 1) +
                                " /W [1 4 2] /Root " + Ref(root) + trailerExtra,
                            rows));
  layout.bytes += "startxref\n" + std::to_string(layout.xref) + "\n%%EOF\n";
  return layout;
}

std::string StreamObject(const std::string &dict, const std::string &data,
                         const std::string &length) {
  return "<< " + dict + " /Length " + (length.empty() ? std::to_string(data.size()) : length) +
         " >>\nstream\n" + data + "\nendstream";
}

// ---------------------------------------------------------------------------------------------
// The text document

std::string PageMarker(const std::string &label, int page) {
  return label + " page " + std::to_string(page);
}

TextPdf MakeTextPdf(const std::string &label, int pages) {
  TextPdf doc;
  doc.label = label;
  RawPdf &pdf = doc.pdf;
  doc.font = pdf.Add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
                     "/Encoding /WinAnsiEncoding >>");
  doc.pages = pdf.Reserve();
  for (int n = 1; n <= pages; ++n) {
    const int content = pdf.Add(
        StreamObject("", "0.92 0.95 1 rg 0 0 595 842 re f\n0 0 0 rg BT /F1 24 Tf 72 720 Td (" +
                             PageMarker(label, n) + ") Tj ET"));
    const int page = pdf.Add("<< /Type /Page /Parent " + Ref(doc.pages) +
                             " /MediaBox [0 0 595 842] /Resources << /Font << /F1 " +
                             Ref(doc.font) + " >> >> /Contents " + Ref(content) + " >>");
    doc.contents.push_back(content);
    doc.pageObjs.push_back(page);
  }
  std::string kids;
  for (int page : doc.pageObjs)
    kids += Ref(page) + " ";
  doc.SetKids("[" + kids + "]", std::to_string(pages));
  doc.catalog = pdf.Add("<< /Type /Catalog /Pages " + Ref(doc.pages) + " >>");
  pdf.root = doc.catalog;
  return doc;
}

void TextPdf::SetKids(const std::string &kids, const std::string &count) {
  pdf.Set(pages, "<< /Type /Pages /Kids " + kids + " /Count " + count + " >>");
}

void TextPdf::AddToPage(int n, const std::string &entries) {
  std::string body = pdf.Body(pageObjs.at(n - 1));
  body.insert(body.rfind(">>"), entries + " ");
  pdf.Set(pageObjs.at(n - 1), body);
}

void TextPdf::ReplaceInPage(int n, const std::string &from, const std::string &to) {
  std::string body = pdf.Body(pageObjs.at(n - 1));
  const size_t at = body.find(from);
  if (at == std::string::npos)
    throw std::logic_error("no " + from + " in page " + std::to_string(n));
  body.replace(at, from.size(), to);
  pdf.Set(pageObjs.at(n - 1), body);
}

// ---------------------------------------------------------------------------------------------
// Repairable damage

namespace {

// Offset of a classic table's entry for object num (one subsection starting at 0).
size_t XrefEntry(const RawPdf::Layout &layout, int num) {
  const size_t firstEntry = layout.bytes.find("0000000000 65535 f", layout.xref);
  return firstEntry + 20 * static_cast<size_t>(num);
}

void PointEntry(RawPdf::Layout &layout, int num, size_t offset) {
  layout.bytes.replace(XrefEntry(layout, num), 10, Padded10(offset));
}

std::string XrefShifted() {
  TextPdf doc = MakeTextPdf("xref-shifted", 3);
  RawPdf::Layout layout = doc.pdf.Write();
  const int last = doc.pdf.Highest();
  const std::map<int, size_t> offsets = layout.offsets;
  // Entry k points at object k + 1, the last one at itself: no entry leads to object 1, two
  // lead to the last one.
  for (int num = 1; num < last; ++num)
    PointEntry(layout, num, offsets.at(num + 1));
  return layout.bytes;
}

std::string XrefIntoObjects() {
  TextPdf doc = MakeTextPdf("xref-into-objects", 3);
  RawPdf::Layout layout = doc.pdf.Write();
  const int last = doc.pdf.Highest();
  const std::map<int, size_t> offsets = layout.offsets;
  for (int num = 1; num <= last; ++num) {
    const size_t other = offsets.at(num == 1 ? last : num - 1);
    const size_t end = layout.bytes.find("endobj", other);
    PointEntry(layout, num, other + (end - other) / 2);
  }
  return layout.bytes;
}

size_t StartxrefValue(const std::string &bytes) { return bytes.rfind("startxref\n") + 10; }

std::string StartxrefWrong() {
  TextPdf doc = MakeTextPdf("startxref-wrong", 3);
  RawPdf::Layout layout = doc.pdf.Write();
  const size_t at = StartxrefValue(layout.bytes);
  layout.bytes.replace(at, layout.bytes.find('\n', at) - at, std::to_string(layout.xref / 2));
  return layout.bytes;
}

std::string StartxrefMissing() {
  TextPdf doc = MakeTextPdf("startxref-missing", 3);
  RawPdf::Layout layout = doc.pdf.Write();
  const size_t at = layout.bytes.rfind("startxref\n");
  layout.bytes.erase(at, layout.bytes.find('\n', at + 10) + 1 - at);
  return layout.bytes;
}

std::string XrefMissing() {
  TextPdf doc = MakeTextPdf("xref-missing", 3);
  RawPdf::Layout layout = doc.pdf.Write();
  return layout.bytes.substr(0, layout.xref); // cut right after the last endobj
}

std::string XrefTooFew() {
  TextPdf doc = MakeTextPdf("xref-too-few", 3);
  RawPdf::Layout layout = doc.pdf.Write();
  const int listed = doc.pdf.Highest() / 2; // entries 0..listed; the rest are not mentioned
  std::string tail = "xref\n0 " + std::to_string(listed + 1) + "\n0000000000 65535 f \n";
  for (int num = 1; num <= listed; ++num)
    tail += Padded10(layout.offsets.at(num)) + " 00000 n \n";
  tail += "trailer\n<< /Size " + std::to_string(listed + 1) + " /Root " + Ref(doc.pdf.root) +
          " >>\nstartxref\n" + std::to_string(layout.xref) + "\n%%EOF\n";
  return layout.bytes.substr(0, layout.xref) + tail;
}

// Page 2's content stream with a /Length that is not its length; the table is right.
std::string LengthLie(const char *label, int delta, bool missingObject) {
  TextPdf doc = MakeTextPdf(label, 3);
  const std::string data = "0.92 0.95 1 rg 0 0 595 842 re f\n0 0 0 rg BT /F1 24 Tf 72 720 Td (" +
                           PageMarker(label, 2) + ") Tj ET";
  const std::string length =
      missingObject ? "999 0 R" : std::to_string(static_cast<int>(data.size()) + delta);
  doc.pdf.Set(doc.contents[1], StreamObject("", data, length));
  return doc.pdf.Write().bytes;
}
std::string LengthTooLong() { return LengthLie("length-too-long", 40, false); }
std::string LengthTooShort() { return LengthLie("length-too-short", -12, false); }
std::string LengthMissingObject() { return LengthLie("length-missing-object", 0, true); }

// The way cairo lays a file out: each /Length an object written after its stream, the page
// tree and catalog last; and a table in which two entries lead to the wrong objects.
std::string CairoLike() {
  const std::string label = "cairo-like";
  RawPdf pdf;
  pdf.version = "1.5";
  const int pagesNode = pdf.Reserve();
  std::vector<int> order, pageObjs;
  const int font = pdf.Add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
                           "/Encoding /WinAnsiEncoding >>");
  for (int n = 1; n <= 3; ++n) {
    const std::string data = "0 0 0 rg BT /F1 24 Tf 72 720 Td (" + PageMarker(label, n) + ") Tj ET";
    const int content = pdf.Reserve();
    const int length = pdf.Add("   " + std::to_string(data.size()));
    pdf.Set(content, "<< /Length " + Ref(length) + " >>\nstream\n" + data + "\nendstream");
    const int page =
        pdf.Add("<< /Type /Page /Parent " + Ref(pagesNode) + " /MediaBox [0 0 595 842] /Contents " +
                Ref(content) + " /Resources << /Font << /F1 " + Ref(font) + " >> >> >>");
    order.insert(order.end(), {content, length, page});
    pageObjs.push_back(page);
  }
  order.push_back(font);
  pdf.Set(pagesNode, "<< /Type /Pages /Kids [" + Ref(pageObjs[0]) + " " + Ref(pageObjs[1]) + " " +
                         Ref(pageObjs[2]) + "] /Count 3 >>");
  order.push_back(pagesNode);
  pdf.root = pdf.Add("<< /Type /Catalog /Pages " + Ref(pagesNode) + " >>");
  order.push_back(pdf.root);
  pdf.order = order;
  RawPdf::Layout layout = pdf.Write();
  const std::map<int, size_t> offsets = layout.offsets;
  // Page 1's entry leads to page 3 and the font's to the catalog: each of those two is found
  // twice, page 1 and the font not at all.
  PointEntry(layout, pageObjs[0], offsets.at(pageObjs[2]));
  PointEntry(layout, font, offsets.at(pdf.root));
  return layout.bytes;
}

// ---------------------------------------------------------------------------------------------
// Loops

std::string KidsSelf() {
  TextPdf doc = MakeTextPdf("kids-self", 3);
  doc.SetKids("[" + Ref(doc.pageObjs[0]) + " " + Ref(doc.pages) + " " + Ref(doc.pageObjs[1]) + " " +
                  Ref(doc.pageObjs[2]) + "]",
              "3");
  return doc.pdf.Write().bytes;
}

std::string KidsRepeat() {
  TextPdf doc = MakeTextPdf("kids-repeat", 1);
  std::string kids = "[";
  for (int i = 0; i < 20000; ++i)
    kids += Ref(doc.pageObjs[0]) + (i % 10 == 9 ? "\n" : " ");
  doc.SetKids(kids + "]", "20000");
  return doc.pdf.Write().bytes;
}

// Objects whose whole value is a reference: the font reached through two of them, and a
// graphics state that refers to itself.
std::string ObjectIsReference() {
  TextPdf doc = MakeTextPdf("object-is-reference", 3);
  const int font = doc.pdf.Add(doc.pdf.Body(doc.font));
  const int hop = doc.pdf.Add(Ref(font));
  doc.pdf.Set(doc.font, Ref(hop));
  const int self = doc.pdf.Reserve();
  doc.pdf.Set(self, Ref(self));
  doc.ReplaceInPage(2, "/Resources <<", "/Resources << /ExtGState << /G1 " + Ref(self) + " >>");
  return doc.pdf.Write().bytes;
}

// Page 1 links to the named destination "chapter2" through a name tree that loops.
std::string NamesLoop(const char *label, bool withLeaf) {
  TextPdf doc = MakeTextPdf(label, 3);
  const int node = doc.pdf.Reserve();
  std::string kids = Ref(node) + " " + Ref(node);
  if (withLeaf) {
    const int leaf = doc.pdf.Add("<< /Limits [(chapter2) (chapter2)] /Names [(chapter2) [" +
                                 Ref(doc.pageObjs[1]) + " /XYZ 0 842 null]] >>");
    kids = Ref(node) + " " + Ref(leaf);
  }
  doc.pdf.Set(node, "<< /Kids [" + kids + "] >>");
  doc.pdf.Set(doc.catalog, "<< /Type /Catalog /Pages " + Ref(doc.pages) + " /Names << /Dests " +
                               Ref(node) + " >> >>");
  const int link = doc.pdf.Add("<< /Type /Annot /Subtype /Link /Rect [72 700 400 750] "
                               "/Border [0 0 0] /Dest (chapter2) >>");
  doc.AddToPage(1, "/Annots [" + Ref(link) + "]");
  return doc.pdf.Write().bytes;
}
std::string NamesSelf() { return NamesLoop("names-self", false); }
std::string NamesSelfThenLeaf() { return NamesLoop("names-self-then-leaf", true); }

std::string OutlineLoop(const char *label, bool childLoop) {
  TextPdf doc = MakeTextPdf(label, 3);
  const int root = doc.pdf.Reserve(), one = doc.pdf.Reserve(), two = doc.pdf.Reserve();
  doc.pdf.Set(root,
              "<< /Type /Outlines /First " + Ref(one) + " /Last " + Ref(two) + " /Count 2 >>");
  const std::string dest1 = " /Dest [" + Ref(doc.pageObjs[0]) + " /XYZ 0 842 null]";
  const std::string dest2 = " /Dest [" + Ref(doc.pageObjs[1]) + " /Fit]";
  if (childLoop) {
    // Entry one is its own first and last child.
    doc.pdf.Set(one, "<< /Title (One) /Parent " + Ref(root) + " /Next " + Ref(two) + " /First " +
                         Ref(one) + " /Last " + Ref(one) + " /Count 1" + dest1 + " >>");
    doc.pdf.Set(two, "<< /Title (Two) /Parent " + Ref(root) + " /Prev " + Ref(one) + dest2 + " >>");
  } else {
    // The last entry's /Next leads back to the first.
    doc.pdf.Set(one, "<< /Title (One) /Parent " + Ref(root) + " /Next " + Ref(two) + dest1 + " >>");
    doc.pdf.Set(two, "<< /Title (Two) /Parent " + Ref(root) + " /Prev " + Ref(one) + " /Next " +
                         Ref(one) + dest2 + " >>");
  }
  doc.pdf.Set(doc.catalog,
              "<< /Type /Catalog /Pages " + Ref(doc.pages) + " /Outlines " + Ref(root) + " >>");
  return doc.pdf.Write().bytes;
}
std::string OutlineNextLoop() { return OutlineLoop("outline-next-loop", false); }
std::string OutlineFirstSelf() { return OutlineLoop("outline-first-self", true); }

// ---------------------------------------------------------------------------------------------
// Lies and junk

std::string CountHuge() {
  TextPdf doc = MakeTextPdf("count-huge", 3);
  doc.SetKids("[" + Ref(doc.pageObjs[0]) + " " + Ref(doc.pageObjs[1]) + " " + Ref(doc.pageObjs[2]) +
                  "]",
              "2147483647");
  return doc.pdf.Write().bytes;
}

std::string KidNotPage(const char *label, int kind) {
  TextPdf doc = MakeTextPdf(label, 3);
  const std::string junk[] = {"42", Ref(doc.font), "999 0 R"};
  doc.SetKids("[" + Ref(doc.pageObjs[0]) + " " + junk[kind] + " " + Ref(doc.pageObjs[1]) + " " +
                  Ref(doc.pageObjs[2]) + "]",
              "4");
  return doc.pdf.Write().bytes;
}
std::string KidInteger() { return KidNotPage("kid-integer", 0); }
std::string KidFont() { return KidNotPage("kid-font", 1); }
std::string KidMissing() { return KidNotPage("kid-missing", 2); }

// Pages 2 and 3 live in an object stream; page 1, the tree and the catalog do not.
std::string ObjectStream(const char *label, const std::string &n, const std::string &first,
                         bool insideItself) {
  TextPdf doc = MakeTextPdf(label, 3);
  RawPdf::Packing packing;
  packing.packed = {doc.pageObjs[1], doc.pageObjs[2]};
  packing.n = n;
  packing.first = first;
  packing.insideItself = insideItself;
  return doc.pdf.WriteCompressed(packing).bytes;
}
std::string ObjstmInsideItself() { return ObjectStream("objstm-inside-itself", "", "", true); }
std::string ObjstmNegativeN() { return ObjectStream("objstm-n-negative", "-1", "", false); }
std::string ObjstmHugeN() { return ObjectStream("objstm-n-huge", "2147483647", "", false); }
std::string ObjstmFirstBeyond() { return ObjectStream("objstm-first-beyond", "", "99999", false); }

std::string Nested(bool dict) {
  const int depth = 100000;
  std::string text;
  text.reserve(depth * 6);
  for (int i = 0; i < depth; ++i)
    text += dict ? "<</A " : "[";
  for (int i = 0; i < depth; ++i)
    text += dict ? ">>" : "]";
  return text;
}

// 100,000 levels in page 2's own dictionary, or in an object nothing refers to.
std::string Deep(const char *label, bool dict, bool inPage) {
  TextPdf doc = MakeTextPdf(label, 3);
  if (inPage)
    doc.AddToPage(2, "/VantorelDeep " + Nested(dict));
  else
    doc.pdf.Add(Nested(dict));
  return doc.pdf.Write().bytes;
}
std::string DeepArrayInPage() { return Deep("deep-array-in-page", false, true); }
std::string DeepDictInPage() { return Deep("deep-dict-in-page", true, true); }
std::string DeepArrayUnused() { return Deep("deep-array-unused", false, false); }
std::string DeepDictUnused() { return Deep("deep-dict-unused", true, false); }

// Page 1 carries a link to page 2 whose rectangle is not a finite rectangle.
std::string LinkRect(const char *label, const std::string &rect) {
  TextPdf doc = MakeTextPdf(label, 3);
  const int link = doc.pdf.Add("<< /Type /Annot /Subtype /Link /Rect [" + rect +
                               "] /Border [0 0 0] /Dest [" + Ref(doc.pageObjs[1]) + " /Fit] >>");
  doc.AddToPage(1, "/Annots [" + Ref(link) + "]");
  return doc.pdf.Write().bytes;
}
std::string Rect1e308() { return LinkRect("rect-1e308", "0 0 1e308 1e308"); }
std::string Rect309Digits() {
  return LinkRect("rect-309-digits",
                  "0 -1" + std::string(308, '0') + " 1" + std::string(308, '0') + " 10");
}
std::string RectNan() { return LinkRect("rect-nan", "nan nan 100 100"); }
std::string RectInf() { return LinkRect("rect-inf", "0 -inf inf 100"); }

std::string Rotate(const char *label, const char *value) {
  TextPdf doc = MakeTextPdf(label, 3);
  doc.AddToPage(2, std::string("/Rotate ") + value);
  return doc.pdf.Write().bytes;
}
std::string Rotate1e20() { return Rotate("rotate-1e20", "1e20"); }
std::string Rotate45() { return Rotate("rotate-45", "45"); }
std::string RotateMinus90() { return Rotate("rotate-minus-90", "-90"); }

// Streams whose /Filter is not a filter name: page 2's content (its data is plain, as readers
// that ignore such a /Filter take it) and a form that page 3 lists but does not draw.
std::string FilterNotAName() {
  TextPdf doc = MakeTextPdf("filter-not-a-name", 3);
  std::string content = doc.pdf.Body(doc.contents[1]);
  content.replace(content.find("<< "), 3, "<< /Filter 0 /DecodeParms (x) ");
  doc.pdf.Set(doc.contents[1], content);
  const int form = doc.pdf.Add(
      StreamObject("/Type /XObject /Subtype /Form /BBox [0 0 10 10] /Filter [/FlateDecode 3]", ""));
  doc.ReplaceInPage(3, "/Resources <<", "/Resources << /XObject << /X1 " + Ref(form) + " >>");
  return doc.pdf.Write().bytes;
}

// 100,000 text fields all named "a", their widgets spread over the three pages.
std::string ManyFieldsOneName() {
  TextPdf doc = MakeTextPdf("fields-one-name", 3);
  std::string fields, annots[3];
  for (int i = 0; i < 100000; ++i) {
    const int widget =
        doc.pdf.Add("<< /Type /Annot /Subtype /Widget /FT /Tx /T (a) /Rect [0 0 10 10] >>");
    fields += Ref(widget) + " ";
    annots[i % 3] += Ref(widget) + " ";
  }
  for (int n = 1; n <= 3; ++n)
    doc.AddToPage(n, "/Annots [" + annots[n - 1] + "]");
  std::string catalog = doc.pdf.Body(doc.catalog);
  catalog.insert(catalog.rfind(">>"), "/AcroForm << /Fields [" + fields + "] >> ");
  doc.pdf.Set(doc.catalog, catalog);
  return doc.pdf.Write().bytes;
}

// A turned page whose field and comment give numbers far beyond any integer.
std::string AnnotNumbersHuge() {
  TextPdf doc = MakeTextPdf("annot-numbers-huge", 3);
  const int field =
      doc.pdf.Add("<< /Type /Annot /Subtype /Widget /FT /Tx /T (f) /DA (/Helv 0 Tf 0 g) /F 1e300 "
                  "/Ff -1e300 /Q 1e300 /MaxLen 1e300 /MK << /R 1e300 >> "
                  "/Rect [10 10 90 40] >>");
  const int square = doc.pdf.Add("<< /Type /Annot /Subtype /Square /F 1e300 /Rect [10 50 90 90] "
                                 "/Border [0 0 1e300] /RD [1e300 0 0 0] /L [1e300 0 1 1] >>");
  doc.AddToPage(1, "/Rotate 90 /Annots [" + Ref(field) + " " + Ref(square) + "]");
  std::string catalog = doc.pdf.Body(doc.catalog);
  catalog.insert(catalog.rfind(">>"), "/AcroForm << /Fields [" + Ref(field) + "] >> ");
  doc.pdf.Set(doc.catalog, catalog);
  return doc.pdf.Write().bytes;
}

std::string MediaBoxMissing() {
  TextPdf doc = MakeTextPdf("mediabox-missing", 3);
  for (int n = 1; n <= 3; ++n)
    doc.ReplaceInPage(n, "/MediaBox [0 0 595 842]", "");
  return doc.pdf.Write().bytes;
}
std::string MediaBox(const char *label, const char *box) {
  TextPdf doc = MakeTextPdf(label, 3);
  doc.ReplaceInPage(2, "/MediaBox [0 0 595 842]", std::string("/MediaBox ") + box);
  return doc.pdf.Write().bytes;
}
std::string MediaBoxZero() { return MediaBox("mediabox-zero", "[0 0 0 0]"); }
std::string MediaBoxNan() { return MediaBox("mediabox-nan", "[0 0 nan 842]"); }

// ---------------------------------------------------------------------------------------------
// Not PDFs

std::string Empty() { return ""; }
std::string HeaderOnly() { return "%PDF-1.4\n"; }
std::string RandomBytes() {
  SplitMix64 random{14};
  std::string bytes;
  while (bytes.size() < 4096) {
    const uint64_t v = random.Next();
    bytes.append(reinterpret_cast<const char *>(&v), 8);
  }
  return bytes;
}
std::string JpegRenamed() {
  TempDir dir;
  MakePicture(dir.file("photo.jpg"), "jpeg", 64, 48, 0x3060C0);
  return ReadFileBytes(dir.file("photo.jpg"));
}

} // namespace

const std::vector<HostileCase> &RepairableCases() {
  static const std::vector<HostileCase> cases = {
      {"xref-shifted", 3, XrefShifted},
      {"xref-into-objects", 3, XrefIntoObjects},
      {"startxref-wrong", 3, StartxrefWrong},
      {"startxref-missing", 3, StartxrefMissing},
      {"xref-missing", 3, XrefMissing},
      {"xref-too-few", 3, XrefTooFew},
      {"length-too-long", 3, LengthTooLong},
      {"length-too-short", 3, LengthTooShort},
      {"length-missing-object", 3, LengthMissingObject},
      {"cairo-like", 3, CairoLike},
  };
  return cases;
}

const std::vector<HostileCase> &LoopCases() {
  static const std::vector<HostileCase> cases = {
      {"kids-self", 3, KidsSelf},
      {"kids-repeat", 20000, KidsRepeat, 1},
      {"names-self", 3, NamesSelf},
      {"names-self-then-leaf", 3, NamesSelfThenLeaf},
      {"outline-next-loop", 3, OutlineNextLoop},
      {"outline-first-self", 3, OutlineFirstSelf},
      {"object-is-reference", 3, ObjectIsReference},
  };
  return cases;
}

const std::vector<HostileCase> &JunkCases() {
  constexpr Expect kAll = Expect::AllPages, kWarned = Expect::PagesWarned,
                   kSaid = Expect::NoSilentLoss;
  static const std::vector<HostileCase> cases = {
      {"count-huge", 3, CountHuge, 0, kAll},
      {"kid-integer", 3, KidInteger, 0, kWarned},
      {"kid-font", 3, KidFont, 0, kWarned},
      {"kid-missing", 3, KidMissing, 0, kWarned},
      {"objstm-inside-itself", 3, ObjstmInsideItself, 0, kSaid},
      {"objstm-n-negative", 3, ObjstmNegativeN, 0, kSaid},
      {"objstm-n-huge", 3, ObjstmHugeN, 0, kSaid},
      {"objstm-first-beyond", 3, ObjstmFirstBeyond, 0, kSaid},
      {"deep-array-in-page", 3, DeepArrayInPage, 0, kSaid},
      {"deep-dict-in-page", 3, DeepDictInPage, 0, kSaid},
      {"deep-array-unused", 3, DeepArrayUnused, 0, kAll},
      {"deep-dict-unused", 3, DeepDictUnused, 0, kAll},
      // Only a link is junk: the pages themselves are sound.
      {"rect-1e308", 3, Rect1e308, 0, kAll},
      {"rect-309-digits", 3, Rect309Digits, 0, kAll},
      {"rect-nan", 3, RectNan, 0, kAll},
      {"rect-inf", 3, RectInf, 0, kAll},
      {"rotate-1e20", 3, Rotate1e20, 0, kSaid},
      {"rotate-45", 3, Rotate45, 0, kSaid},
      {"rotate-minus-90", 3, RotateMinus90, 0, kAll}, // the same as 270
      {"mediabox-missing", 3, MediaBoxMissing, 0, kSaid},
      {"mediabox-zero", 3, MediaBoxZero, 0, kSaid},
      {"mediabox-nan", 3, MediaBoxNan, 0, kSaid},
      {"filter-not-a-name", 3, FilterNotAName, 0, kAll},
      // Only the fields and comments are junk.
      {"annot-numbers-huge", 3, AnnotNumbersHuge, 0, kAll},
  };
  return cases;
}

const std::vector<HostileCase> &NotPdfCases() {
  static const std::vector<HostileCase> cases = {
      {"empty", -1, Empty},
      {"header-only", -1, HeaderOnly},
      {"random-4k", -1, RandomBytes},
      {"jpeg-renamed", -1, JpegRenamed},
  };
  return cases;
}

// ---------------------------------------------------------------------------------------------
// Encryption

const std::vector<EncryptionCase> &BadEncryptionCases() {
  static const std::vector<EncryptionCase> cases = {
      {"length-minus-8", "/Length", "/Length -8"},
      {"length-7", "/Length", "/Length 7"},
      {"length-4096", "/Length", "/Length 4096"},
      {"o-5-bytes", "/O", "/O <0102030405>"},
      {"u-missing", "/U", ""},
      {"r-99", "/R", "/R 99"},
      {"v-99", "/V", "/V 99"},
  };
  return cases;
}

std::string MakeEncryptedPdf(const std::string &label, int pages, const std::string &user,
                             const std::string &owner, const std::string &bitsAndOptions,
                             const std::string &workDir, const std::string &passwordMode) {
  const std::string plain = workDir + "/" + label + "-plain.pdf";
  const std::string encrypted = workDir + "/" + label + "-encrypted.pdf";
  WriteFileBytes(plain, MakeTextPdf(label, pages).pdf.Write().bytes);
  int status = 0;
  const std::string output =
      RunCommand("qpdf --static-id --object-streams=disable --allow-weak-crypto --password-mode=" +
                     passwordMode + " --encrypt '" + user + "' '" + owner + "' " + bitsAndOptions +
                     " -- '" + plain + "' '" + encrypted + "' 2>&1",
                 &status);
  if (status != 0)
    throw std::runtime_error("qpdf --encrypt failed: " + output);
  return ReadFileBytes(encrypted);
}

std::string MakeBadEncryption(const EncryptionCase &edit, const std::string &workDir) {
  const std::string bytes =
      MakeEncryptedPdf(std::string("enc-") + edit.name, 3, "", "owner", "128 --use-aes=n", workDir);
  // The encryption dictionary is the object the trailer's /Encrypt names.
  const size_t trailer = bytes.rfind("/Encrypt ");
  const int num = std::stoi(bytes.substr(trailer + 9));
  const size_t object = bytes.find("\n" + std::to_string(num) + " 0 obj");
  const size_t end = bytes.find(">>", object);
  const size_t key = bytes.find(std::string(edit.from) + " ", object);
  if (object == std::string::npos || key == std::string::npos || key > end)
    throw std::runtime_error(std::string("no ") + edit.from + " in the encryption dictionary");
  // The value: a <hex> or (literal) string, or one number or name.
  size_t valueEnd = key + std::string(edit.from).size() + 1;
  if (bytes[valueEnd] == '<')
    valueEnd = bytes.find('>', valueEnd) + 1;
  else if (bytes[valueEnd] == '(')
    throw std::runtime_error("literal strings in the encryption dictionary are not handled");
  else
    valueEnd = bytes.find_first_of(" />", valueEnd + 1);
  return EditKeepingXref(bytes, key, valueEnd - key, edit.to);
}

std::string EditKeepingXref(const std::string &bytes, size_t at, size_t length,
                            const std::string &with) {
  const long delta = static_cast<long>(with.size()) - static_cast<long>(length);
  std::string out = bytes.substr(0, at) + with + bytes.substr(at + length);
  const size_t value = StartxrefValue(out);
  size_t xref = std::stoul(out.substr(value));
  if (xref > at)
    xref = static_cast<size_t>(static_cast<long>(xref) + delta);
  if (out.compare(xref, 4, "xref") != 0)
    throw std::runtime_error("EditKeepingXref handles classic tables only");
  // Subsections: "first count" lines, each followed by count entries of 20 bytes.
  size_t line = out.find('\n', xref) + 1;
  while (out.compare(line, 7, "trailer") != 0) {
    const size_t eol = out.find('\n', line);
    const int count = std::stoi(out.substr(out.find(' ', line) + 1, eol));
    size_t entry = eol + 1;
    for (int i = 0; i < count; ++i, entry += 20) {
      const size_t offset = std::stoul(out.substr(entry, 10));
      if (out[entry + 17] == 'n' && offset > at)
        out.replace(entry, 10, Padded10(static_cast<size_t>(static_cast<long>(offset) + delta)));
    }
    line = entry;
  }
  out.replace(value, out.find('\n', value) - value, std::to_string(xref));
  return out;
}

// ---------------------------------------------------------------------------------------------
// Pictures

namespace {

void Chunk(std::string &png, const char *type, const std::string &data) {
  const uint32_t length = static_cast<uint32_t>(data.size());
  for (int shift = 24; shift >= 0; shift -= 8)
    png += static_cast<char>((length >> shift) & 0xFF);
  const std::string typed = std::string(type, 4) + data;
  png += typed;
  const uLong crc =
      crc32(0, reinterpret_cast<const Bytef *>(typed.data()), static_cast<uInt>(typed.size()));
  for (int shift = 24; shift >= 0; shift -= 8)
    png += static_cast<char>((crc >> shift) & 0xFF);
}

std::string BigEndian(uint32_t value) {
  std::string out;
  for (int shift = 24; shift >= 0; shift -= 8)
    out += static_cast<char>((value >> shift) & 0xFF);
  return out;
}

} // namespace

std::string MakePngHeaderBomb(unsigned width, unsigned height) {
  std::string png = "\x89PNG\r\n\x1a\n";
  Chunk(png, "IHDR", BigEndian(width) + BigEndian(height) + std::string("\x08\x06\0\0\0", 5));
  // The first rows of zeros, flushed but never finished: a reader that trusts the header
  // starts on width × height × 4 bytes before it learns the data is short.
  const std::string rows(static_cast<size_t>(width) * 4 + 1, '\0');
  z_stream z{};
  deflateInit(&z, Z_BEST_COMPRESSION);
  std::string idat(deflateBound(&z, static_cast<uLong>(rows.size() * 4)) + 64, '\0');
  z.next_out = reinterpret_cast<Bytef *>(idat.data());
  z.avail_out = static_cast<uInt>(idat.size());
  for (int i = 0; i < 4; ++i) {
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(rows.data()));
    z.avail_in = static_cast<uInt>(rows.size());
    deflate(&z, i == 3 ? Z_SYNC_FLUSH : Z_NO_FLUSH);
  }
  idat.resize(idat.size() - z.avail_out);
  deflateEnd(&z);
  Chunk(png, "IDAT", idat);
  Chunk(png, "IEND", "");
  return png;
}

std::string FieldsOneName() { return ManyFieldsOneName(); }
