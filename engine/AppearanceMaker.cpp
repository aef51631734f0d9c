#include "AppearanceMaker.h"

#include "pdf/PdfWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <unordered_set>
#include <vector>

namespace engine {

using pdf::Value;

namespace {

constexpr int kMaxDepth = 64;
constexpr int64_t kFlagMultiline = 1 << 12, kFlagPassword = 1 << 13, kFlagPushButton = 1 << 16,
                  kFlagRadio = 1 << 15, kFlagComb = 1 << 24;
constexpr size_t kMaxText = 20000; // characters drawn of one value
constexpr double kPadding = 2;

// Helvetica's widths of the printable ASCII characters (thousandths of the text size).
constexpr short kHelvetica[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};

std::string Number(double v) {
  std::string text;
  pdf::AppendReal(text, v);
  return text;
}

// A string value as code points: UTF-16 or UTF-8 with their marks, else PDFDocEncoding (read
// as Latin-1, which it matches in all but a few punctuation marks).
std::u32string CodePoints(const std::string &bytes) {
  std::u32string text;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
      static_cast<unsigned char>(bytes[1]) == 0xFF) {
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      char32_t unit =
          (static_cast<unsigned char>(bytes[i]) << 8) | static_cast<unsigned char>(bytes[i + 1]);
      if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
        const char32_t low = (static_cast<unsigned char>(bytes[i + 2]) << 8) |
                             static_cast<unsigned char>(bytes[i + 3]);
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
      text += unit;
    }
    return text;
  }
  size_t i = bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  const bool bUtf8 = i == 3;
  for (; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (!bUtf8 || c < 0x80) {
      text += c;
      continue;
    }
    const int n = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    char32_t cp = c & (0x3F >> n);
    for (int k = 0; k < n && i + 1 < bytes.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(bytes[++i]) & 0x3F);
    text += cp;
  }
  return text;
}

// A code point in WinAnsiEncoding, '?' for one it lacks.
unsigned char WinAnsi(char32_t cp) {
  static const char32_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  if (cp == '\n' || cp == '\r' || (cp >= 0x20 && cp < 0x7F) || (cp >= 0xA0 && cp <= 0xFF))
    return static_cast<unsigned char>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == cp && cp != 0)
      return static_cast<unsigned char>(0x80 + i);
  return '?';
}

// The font a /DA names, as the form's resources give it.
struct TextFont {
  std::string name; // resource name used in the appearance
  Value ref;        // the output's font
  int nFirst = 0;
  std::vector<double> widths; // of a simple font that lists them
  bool bMonospace = false;
  double Width(unsigned char c) const {
    if (c >= nFirst && static_cast<size_t>(c - nFirst) < widths.size())
      return widths[static_cast<size_t>(c - nFirst)];
    if (bMonospace)
      return 600;
    return c >= 32 && c < 127 ? kHelvetica[c - 32] : 556;
  }
};

struct DefaultAppearance {
  std::string font;
  double size = 0;
  std::string colour = "0 g";
};

DefaultAppearance ParseDa(const std::string &da) {
  DefaultAppearance parsed;
  std::istringstream in(da);
  std::vector<std::string> tokens;
  for (std::string token; in >> token;) {
    if (token == "Tf" && tokens.size() >= 2 && tokens[tokens.size() - 2][0] == '/') {
      parsed.font = tokens[tokens.size() - 2].substr(1);
      const double size = std::strtod(tokens.back().c_str(), nullptr);
      parsed.size = std::isfinite(size) && size > 0 && size < 1000 ? size : 0;
    } else if ((token == "g" || token == "rg" || token == "k") && !tokens.empty()) {
      const size_t n = token == "g" ? 1 : token == "rg" ? 3 : 4;
      if (tokens.size() >= n) {
        std::string colour;
        for (size_t i = tokens.size() - n; i < tokens.size(); ++i)
          colour += Number(std::strtod(tokens[i].c_str(), nullptr)) + " ";
        parsed.colour = colour + token;
      }
    }
    tokens.push_back(token);
  }
  return parsed;
}

TextFont FindFont(SourceEntry &entry, const std::string &name) {
  TextFont font;
  pdf::SourceDocument &doc = *entry.doc;
  pdf::ObjectPtr formHolder, drHolder, fontsHolder, fontHolder;
  const Value *pForm = doc.Resolve(doc.Catalog().Get("AcroForm"), formHolder);
  const Value *pDr = pForm ? doc.Resolve(pForm->Get("DR"), drHolder) : nullptr;
  const Value *pFonts = pDr ? doc.Resolve(pDr->Get("Font"), fontsHolder) : nullptr;
  const Value *pFontRef = pFonts ? pFonts->Get(name) : nullptr;
  const Value *pFont = doc.Resolve(pFontRef, fontHolder);
  const Value *pSubtype = pFont ? pFont->Get("Subtype") : nullptr;
  // Only simple fonts take the one-byte text made here; anything else is drawn in Helvetica.
  if (pSubtype != nullptr && (pSubtype->IsName("Type1") || pSubtype->IsName("TrueType"))) {
    font.name = "F0";
    font.ref = entry.copier->Map(*pFontRef);
    pdf::ObjectPtr widthsHolder;
    const Value *pWidths = doc.Resolve(pFont->Get("Widths"), widthsHolder);
    if (pWidths != nullptr && pWidths->IsArray() && pWidths->array().size() <= 256) {
      font.nFirst =
          static_cast<int>(std::clamp<int64_t>(IntegerOr(pFont->Get("FirstChar"), 0), 0, 255));
      for (const Value &w : pWidths->array())
        font.widths.push_back(pdf::NumberOr(&w, 500));
    }
    const Value *pBase = pFont->Get("BaseFont");
    font.bMonospace =
        pBase && pBase->IsName() && pBase->name().find("Courier") != std::string::npos;
    return font;
  }
  pdf::Dict helvetica;
  helvetica.Set("Type", Value::MakeName("Font"));
  helvetica.Set("Subtype", Value::MakeName("Type1"));
  helvetica.Set("BaseFont", Value::MakeName("Helvetica"));
  helvetica.Set("Encoding", Value::MakeName("WinAnsiEncoding"));
  font.name = "F0";
  font.ref = Value(std::move(helvetica));
  return font;
}

std::string LiteralString(const std::string &bytes) {
  std::string text = "(";
  for (char c : bytes) {
    if (c == '(' || c == ')' || c == '\\')
      text += '\\';
    text += c;
  }
  return text + ")";
}

// A colour array of /MK as a fill (or stroke) operator; empty for none.
std::string ColourOp(SourceEntry &entry, const Value *pMk, const char *pszKey, bool bStroke) {
  pdf::ObjectPtr holder;
  const Value *pColour = pMk ? entry.doc->Resolve(pMk->Get(pszKey), holder) : nullptr;
  if (pColour == nullptr || !pColour->IsArray())
    return {};
  const size_t n = pColour->array().size();
  if (n != 1 && n != 3 && n != 4)
    return {};
  std::string op;
  for (const Value &v : pColour->array())
    op += Number(std::clamp(pdf::NumberOr(&v, 0), 0.0, 1.0)) + " ";
  if (bStroke)
    return op + (n == 1 ? "G" : n == 3 ? "RG" : "K");
  return op + (n == 1 ? "g" : n == 3 ? "rg" : "k");
}

double TextWidth(const TextFont &font, const std::string &text, double size) {
  double w = 0;
  for (char c : text)
    w += font.Width(static_cast<unsigned char>(c));
  return w * size / 1000;
}

// Lines of a multiline field: its own line breaks, and words wrapped at the width.
std::vector<std::string> WrapLines(const TextFont &font, const std::string &text, double size,
                                   double width) {
  std::vector<std::string> lines;
  std::string paragraph;
  std::istringstream in(text);
  while (std::getline(in, paragraph)) {
    if (!paragraph.empty() && paragraph.back() == '\r')
      paragraph.pop_back();
    std::string line;
    std::istringstream words(paragraph);
    for (std::string word; words >> word;) {
      const std::string longer = line.empty() ? word : line + " " + word;
      if (!line.empty() && TextWidth(font, longer, size) > width) {
        lines.push_back(line);
        line = word;
      } else {
        line = longer;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

const Value *Inherited(SourceEntry &entry, const Value &widget, const char *pszKey,
                       pdf::ObjectPtr &holder) {
  const Value *pNode = &widget;
  pdf::ObjectPtr nodeHolder;
  std::unordered_set<uint32_t> seen;
  for (int depth = 0; pNode != nullptr && depth < kMaxDepth; ++depth) {
    if (const Value *pValue = entry.doc->Resolve(pNode->Get(pszKey), holder))
      return pValue;
    const Value *pParent = pNode->Get("Parent");
    if (pParent == nullptr || !pParent->IsRef() || !seen.insert(pParent->ref().num).second)
      break;
    nodeHolder = entry.doc->Load(pParent->ref());
    pNode = &nodeHolder->value;
  }
  return nullptr;
}

} // namespace

WidgetState ReadWidgetState(SourceEntry &entry, const Value &widget) {
  WidgetState state;
  pdf::ObjectPtr holder, formHolder;
  if (const Value *pType = Inherited(entry, widget, "FT", holder); pType && pType->IsName())
    state.type = pType->name();
  state.nFlags = IntegerOr(Inherited(entry, widget, "Ff", holder), 0);
  if (const Value *pValue = Inherited(entry, widget, "V", holder))
    state.value = *pValue;
  state.nMaxLen = IntegerOr(Inherited(entry, widget, "MaxLen", holder), 0);
  const Value *pForm = entry.doc->Resolve(entry.doc->Catalog().Get("AcroForm"), formHolder);
  const Value *pDa = Inherited(entry, widget, "DA", holder);
  if (pDa == nullptr && pForm != nullptr)
    pDa = pForm->Get("DA");
  if (pDa != nullptr && pDa->IsString())
    state.da = pDa->string().bytes;
  const Value *pQ = Inherited(entry, widget, "Q", holder);
  state.nQuadding = IntegerOr(pQ ? pQ : (pForm ? pForm->Get("Q") : nullptr), 0);
  if (pForm != nullptr)
    if (const Value *pNeed = pForm->Get("NeedAppearances"); pNeed && pNeed->IsBool())
      state.bNeedAppearances = pNeed->boolean();
  return state;
}

std::string ButtonState(SourceEntry &entry, const Value &widget, const WidgetState &state) {
  const Value *pAs = widget.Get("AS");
  const std::string own = pAs && pAs->IsName() ? pAs->name() : "Off";
  if (!state.value.IsName())
    return own;
  pdf::ObjectPtr apHolder, nHolder;
  const Value *pAp = entry.doc->Resolve(widget.Get("AP"), apHolder);
  const Value *pN = pAp ? entry.doc->Resolve(pAp->Get("N"), nHolder) : nullptr;
  if (pN == nullptr || !pN->IsDict() || (nHolder && nHolder->bStream))
    return own;
  if (pN->Get(state.value.name()) != nullptr)
    return state.value.name();
  // A radio group's value is the state of the one button that is on: every other is off. A
  // check box whose value names none of its states shows what it says itself.
  return (state.nFlags & kFlagRadio) || state.value.IsName("Off") ? "Off" : own;
}

bool EncodableText(const WidgetState &state) {
  if (!state.value.IsString())
    return true;
  for (char32_t cp : CodePoints(state.value.string().bytes))
    if (WinAnsi(cp) == '?' && cp != '?')
      return false;
  return true;
}

bool MakeWidgetAppearance(SourceEntry &entry, const Value &widget, const WidgetState &state,
                          MadeAppearance &made) {
  Rect rect;
  pdf::ObjectPtr rectHolder, mkHolder;
  if (!ReadRect(entry.doc->Resolve(widget.Get("Rect"), rectHolder), rect) || rect.width <= 0 ||
      rect.height <= 0)
    return false;
  const double w = rect.width, h = rect.height;
  made.bbox = {0, 0, w, h};
  const Value *pMk = entry.doc->Resolve(widget.Get("MK"), mkHolder);
  std::string content;
  const std::string background = ColourOp(entry, pMk, "BG", false);
  if (!background.empty())
    content += background + " 0 0 " + Number(w) + " " + Number(h) + " re f\n";
  const std::string border = ColourOp(entry, pMk, "BC", true);
  if (!border.empty())
    content += border + " 1 w 0.5 0.5 " + Number(w - 1) + " " + Number(h - 1) + " re S\n";

  const DefaultAppearance da = ParseDa(state.da);
  TextFont font = FindFont(entry, da.font);
  pdf::Dict fonts;
  std::string text;
  if (state.type == "Btn" && !(state.nFlags & kFlagPushButton)) {
    if (ButtonState(entry, widget, state) == "Off") {
      made.content = content;
      return !content.empty();
    }
    // The mark readers draw: the caption's ZapfDingbats character, a check or a dot.
    const bool bRadio = (state.nFlags & kFlagRadio) != 0;
    pdf::ObjectPtr caHolder;
    const Value *pCaption = pMk ? entry.doc->Resolve(pMk->Get("CA"), caHolder) : nullptr;
    const std::string mark = pCaption && pCaption->IsString() && !pCaption->string().bytes.empty()
                                 ? pCaption->string().bytes.substr(0, 1)
                                 : (bRadio ? "l" : "4");
    const double size = da.size > 0 ? da.size : std::min(w, h) * 0.8;
    pdf::Dict dingbats;
    dingbats.Set("Type", Value::MakeName("Font"));
    dingbats.Set("Subtype", Value::MakeName("Type1"));
    dingbats.Set("BaseFont", Value::MakeName("ZapfDingbats"));
    fonts.Set("ZaDb", Value(std::move(dingbats)));
    // Marks are about 0.75 of the size wide and 0.7 high.
    content += "q BT " + da.colour + " /ZaDb " + Number(size) + " Tf " +
               Number((w - size * 0.75) / 2) + " " + Number((h - size * 0.7) / 2) + " Td " +
               LiteralString(mark) + " Tj ET Q\n";
  } else {
    // Text fields, choices, and push buttons (their caption).
    const Value *pText = &state.value;
    pdf::ObjectPtr caHolder;
    if (state.type == "Btn")
      pText = pMk ? entry.doc->Resolve(pMk->Get("CA"), caHolder) : nullptr;
    if (pText != nullptr && pText->IsArray() && !pText->array().empty())
      pText = &pText->array()[0]; // a list box's first chosen item
    if (pText != nullptr && pText->IsString()) {
      for (char32_t cp : CodePoints(pText->string().bytes))
        if (text.size() < kMaxText)
          text += static_cast<char>(WinAnsi(cp));
    } else if (pText != nullptr && pText->IsName()) {
      text = pText->name();
    }
    if (state.nFlags & kFlagPassword)
      text.assign(text.size(), '*');
    if (text.empty()) {
      made.content = content;
      return !content.empty();
    }
    fonts.Set(font.name, font.ref);
    const bool bMultiline = (state.nFlags & kFlagMultiline) != 0;
    const bool bComb = (state.nFlags & kFlagComb) != 0 && state.nMaxLen > 0 && !bMultiline;
    const double inner = std::max(w - 2 * kPadding, 1.0);
    double size = da.size;
    if (size <= 0) // auto size: readers fit the text to the field
      size = bMultiline ? 12
                        : std::min((h - 2 * kPadding) * 0.85,
                                   inner * 1000 / std::max(1.0, TextWidth(font, text, 1000)));
    size = std::clamp(size, 1.0, 200.0);
    content += "/Tx BMC\nq " + Number(kPadding / 2) + " " + Number(kPadding / 2) + " " +
               Number(w - kPadding) + " " + Number(h - kPadding) + " re W n\nBT " + da.colour +
               " /" + font.name + " " + Number(size) + " Tf\n";
    auto place = [&](const std::string &line, double x, double y) {
      content += "1 0 0 1 " + Number(x) + " " + Number(y) + " Tm " + LiteralString(line) + " Tj\n";
    };
    auto alignedX = [&](const std::string &line) {
      const double free = inner - TextWidth(font, line, size);
      return kPadding + (state.nQuadding == 1 ? free / 2 : state.nQuadding == 2 ? free : 0);
    };
    if (bComb) {
      const double cell = w / static_cast<double>(std::min<int64_t>(state.nMaxLen, 10000));
      const double y = (h - size * 0.7) / 2;
      for (size_t i = 0; i < text.size() && i < static_cast<size_t>(state.nMaxLen); ++i) {
        const std::string c(1, text[i]);
        place(c, cell * static_cast<double>(i) + (cell - TextWidth(font, c, size)) / 2, y);
      }
    } else if (bMultiline) {
      double y = h - kPadding - size;
      for (const std::string &line : WrapLines(font, text, size, inner)) {
        if (y < -size)
          break;
        place(line, alignedX(line), y);
        y -= size * 1.15;
      }
    } else {
      const std::string line = text.substr(0, text.find_first_of("\r\n"));
      place(line, alignedX(line), (h - size * 0.7) / 2);
    }
    content += "ET Q\nEMC\n";
  }
  made.content = content;
  pdf::Dict resources;
  resources.Set("Font", Value(std::move(fonts)));
  made.resources = Value(std::move(resources));
  return true;
}

} // namespace engine
