#include "PasswordText.h"

#include "AnsiText.h"

#include <algorithm>
#include <cstdint>

namespace engine::pdf {

namespace {

// PDFDocEncoding's characters where it differs from Latin-1: bytes 0x18..0x1F, 0x80..0xA0.
const char32_t kPdfDocLow[8] = {0x02D8, 0x02C7, 0x02C6, 0x02D9, 0x02DD, 0x02DB, 0x02DA, 0x02DC};
const char32_t kPdfDocHigh[33] = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, 0,      0x20AC};
bool IsNonAsciiSpace(char32_t cp) {
  return cp == 0xA0 || cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200B) || cp == 0x202F ||
         cp == 0x205F || cp == 0x3000;
}

bool IsMappedToNothing(char32_t cp) {
  return cp == 0xAD || cp == 0x34F || cp == 0x1806 || (cp >= 0x180B && cp <= 0x180D) ||
         cp == 0x200C || cp == 0x200D || cp == 0x2060 || (cp >= 0xFE00 && cp <= 0xFE0F) ||
         cp == 0xFEFF;
}

void AddOnce(std::vector<std::string> &forms, std::string form) {
  if (std::find(forms.begin(), forms.end(), form) == forms.end())
    forms.push_back(std::move(form));
}

} // namespace

bool Utf8ToPdfDoc(std::string_view utf8, std::string &out) {
  std::u32string text;
  if (!Utf8CodePoints(utf8, text))
    return false;
  out.clear();
  for (char32_t cp : text) {
    if ((cp < 0x80 && cp != 0x7F && (cp < 0x18 || cp > 0x1F)) ||
        (cp > 0xA0 && cp <= 0xFF && cp != 0xAD)) {
      out += static_cast<char>(cp);
      continue;
    }
    const char32_t *pLow = std::find(kPdfDocLow, kPdfDocLow + 8, cp);
    const char32_t *pHigh = std::find(kPdfDocHigh, kPdfDocHigh + 33, cp);
    if (pLow != kPdfDocLow + 8)
      out += static_cast<char>(0x18 + (pLow - kPdfDocLow));
    else if (pHigh != kPdfDocHigh + 33 && cp != 0)
      out += static_cast<char>(0x80 + (pHigh - kPdfDocHigh));
    else
      return false;
  }
  return true;
}

std::string SaslPrepMap(std::string_view utf8) {
  std::u32string text;
  if (!Utf8CodePoints(utf8, text))
    return std::string(utf8);
  std::string out;
  for (char32_t cp : text) {
    if (IsNonAsciiSpace(cp))
      out += ' ';
    else if (!IsMappedToNothing(cp))
      AppendCodePoint(out, cp);
  }
  return out;
}

bool EncodeOutputPassword(std::string_view utf8, int nRevision, std::string &bytes) {
  std::u32string text;
  if (!Utf8CodePoints(utf8, text))
    return false;
  if (nRevision >= 5) {
    bytes = SaslPrepMap(utf8);
    return true;
  }
  return Utf8ToPdfDoc(utf8, bytes);
}

std::vector<std::string> SourcePasswordForms(std::string_view given, int nRevision) {
  std::vector<std::string> forms;
  std::u32string text;
  // Text that is not UTF-8 came in a code page: Windows-1252 is the one the program knew.
  const std::string utf8 = Utf8CodePoints(given, text) ? std::string(given) : Cp1252ToUtf8(given);
  std::string pdfDoc;
  const bool bPdfDoc = Utf8ToPdfDoc(utf8, pdfDoc);
  if (nRevision >= 5) {
    AddOnce(forms, SaslPrepMap(utf8));
    AddOnce(forms, utf8);
    if (bPdfDoc)
      AddOnce(forms, pdfDoc); // Latin-1 bytes, as some writers of revision 6 did
  } else {
    if (bPdfDoc)
      AddOnce(forms, pdfDoc);
    AddOnce(forms, utf8);
    // Windows-1252 bytes: PDFDocEncoding's look-alike, written by programs that knew no better.
    std::string cp1252;
    if (Utf8ToCp1252(utf8, cp1252))
      AddOnce(forms, cp1252);
  }
  AddOnce(forms, std::string(given));
  return forms;
}

} // namespace engine::pdf
