// The engine's one page range grammar. A text is the keyword "Odd" or "Even", or items between
// commas: "N", "A-B", "A-" and "-B", numbers in ASCII digits with blanks around them. Every item
// is read the same way whoever asks; only what happens to an item that names no page differs:
// ReadPageRange stops there and says where and why, GetSelectPage (older callers, which expect
// any text to be taken) leaves it out and goes on.
//
// A selection is bounded before it is expanded: each item is counted first, so no text can ask
// for more than kMaxMergePages pages of memory.

#include "MergeRequest.h"

#include "AnsiText.h"
#include "pdf/PasswordText.h"

#include <algorithm>
#include <string>

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One item as written: its ends (where present), whether it has a dash, and what is wrong with
// it as text.
struct Item {
  int64_t nLow = 0, nHigh = 0;
  size_t nLowAt = 0, nHighAt = 0; // bytes of the two numbers
  bool bLow = false, bHigh = false, bDash = false;
  int32_t nProblem = RANGE_OK;
  size_t nAt = 0; // byte of the dash, or of the fault
};

// Reads text[begin, end): blanks, digits, blanks, and once at most '-' followed by the same.
Item ReadItem(const std::string &text, size_t begin, size_t end) {
  Item item;
  size_t i = begin;
  for (int side = 0; side < 2; ++side) {
    while (i < end && IsBlank(text[i]))
      ++i;
    (side == 0 ? item.nLowAt : item.nHighAt) = i;
    const size_t digits = i;
    int64_t &value = side == 0 ? item.nLow : item.nHigh;
    // Held below 2^40: a number that large is past any document's last page either way.
    for (; i < end && IsDigit(text[i]); ++i)
      value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{1} << 40);
    (side == 0 ? item.bLow : item.bHigh) = i > digits;
    while (i < end && IsBlank(text[i]))
      ++i;
    if (i == end)
      return item;
    item.nAt = i;
    if (text[i] != '-' || side == 1) {
      item.nProblem = text[i] == '-' ? RANGE_TWO_DASHES : RANGE_NOT_A_NUMBER;
      return item;
    }
    item.bDash = true;
    ++i;
  }
  return item;
}

// Characters (UTF-8 sequences) before byte nByte.
int32_t CharacterPosition(const std::string &text, size_t nByte) {
  int32_t n = 0;
  for (size_t i = 0; i < nByte && i < text.size(); ++i)
    n += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
  return n;
}

// The character (UTF-8 sequence) that starts at byte nAt.
std::wstring CharacterAt(const std::string &text, size_t nAt) {
  size_t nEnd = nAt + 1;
  while (nEnd < text.size() && (static_cast<unsigned char>(text[nEnd]) & 0xC0) == 0x80)
    ++nEnd;
  return Utf8ToWide(text.substr(nAt, nEnd - nAt));
}

std::wstring Number(int64_t n) { return std::to_wstring(n); }

class RangeReader {
public:
  RangeReader(const std::string &text, int32_t nPageCount, bool bSkipBad, PageRangeReading &reading)
      : m_text(text), m_nPageCount(std::max(nPageCount, 0)), m_bSkipBad(bSkipBad),
        m_reading(reading) {}

  bool Read();

private:
  bool Every(int32_t nFirst);
  bool Take(const Item &item, int32_t nItem, size_t nItemBegin);
  bool Fail(int32_t nProblem, int32_t nItem, size_t nAt, const std::wstring &why);
  bool Room(int64_t nCount, int32_t nItem, size_t nAt);
  bool Expand(int64_t nFrom, int64_t nTo, int32_t nItem, size_t nAt);

  const std::string &m_text;
  const int64_t m_nPageCount;
  const bool m_bSkipBad;
  PageRangeReading &m_reading;
  bool m_bOk = true;
  bool m_bStop = false;
};

// Keeps the first problem, which is the one a reader is told of.
bool RangeReader::Fail(int32_t nProblem, int32_t nItem, size_t nAt, const std::wstring &why) {
  if (m_reading.nProblem == RANGE_OK) {
    m_reading.nProblem = nProblem;
    m_reading.nItem = nItem;
    m_reading.nPosition = CharacterPosition(m_text, nAt);
    m_reading.strReason = why;
  }
  m_bOk = false;
  return false;
}

// True when nCount more pages fit within the most a job places; otherwise the reading stops.
bool RangeReader::Room(int64_t nCount, int32_t nItem, size_t nAt) {
  if (nCount <= kMaxMergePages - static_cast<int64_t>(m_reading.vecPages.size()))
    return true;
  m_bStop = true;
  return Fail(RANGE_TOO_MANY, nItem, nAt,
              L"too many pages selected (one output holds at most " + Number(kMaxMergePages) +
                  L")");
}

// Appends nFrom to nTo, upwards or downwards.
bool RangeReader::Expand(int64_t nFrom, int64_t nTo, int32_t nItem, size_t nAt) {
  const int64_t nStep = nFrom <= nTo ? 1 : -1;
  if (!Room((nTo - nFrom) * nStep + 1, nItem, nAt))
    return false;
  for (int64_t n = nFrom;; n += nStep) {
    m_reading.vecPages.push_back(static_cast<int32_t>(n));
    if (n == nTo)
      return true;
  }
}

bool RangeReader::Every(int32_t nFirst) {
  if (!Room(m_nPageCount >= nFirst ? (m_nPageCount - nFirst) / 2 + 1 : 0, 1, 0))
    return false;
  for (int64_t n = nFirst; n <= m_nPageCount; n += 2)
    m_reading.vecPages.push_back(static_cast<int32_t>(n));
  return true;
}

// Appends the item's pages; false when it does not read or names a page the document has not.
bool RangeReader::Take(const Item &item, int32_t nItem, size_t nItemBegin) {
  if (item.nProblem == RANGE_TWO_DASHES)
    return Fail(item.nProblem, nItem, item.nAt, L"a second '-' (a range is A-B)");
  if (item.nProblem == RANGE_NOT_A_NUMBER)
    return Fail(item.nProblem, nItem, item.nAt,
                IsDigit(m_text[item.nAt])
                    ? std::wstring(L"two numbers without '-' or ',' between them")
                    : L"'" + CharacterAt(m_text, item.nAt) + L"' is not a digit, '-' or ','");
  if (item.bDash && !item.bLow && !item.bHigh)
    return Fail(RANGE_NO_END, nItem, item.nAt, L"'-' has no page on either side");
  // "A-" runs to the last page, "-B" from the first; "A-B" runs down when A is the greater.
  int64_t nFrom = item.bLow ? item.nLow : 1;
  int64_t nTo = !item.bDash ? nFrom : item.bHigh ? item.nHigh : m_nPageCount;
  if (m_bSkipBad) {
    // Pages off the document are left out: a single number quietly, a range that keeps none
    // of its pages as a bad item.
    if (m_nPageCount == 0 || std::max(nFrom, nTo) < 1 || std::min(nFrom, nTo) > m_nPageCount)
      return !item.bDash || Fail(RANGE_BEYOND_LAST, nItem, nItemBegin, L"no page of the file");
    nFrom = std::clamp<int64_t>(nFrom, 1, m_nPageCount);
    nTo = std::clamp<int64_t>(nTo, 1, m_nPageCount);
  } else {
    // Told at the number (at the dash for an end left out).
    for (const bool bHigh : {false, true}) {
      const int64_t n = bHigh ? nTo : nFrom;
      const size_t nAt = bHigh ? (item.bHigh ? item.nHighAt : item.nAt) : item.nLowAt;
      if (n < 1)
        return Fail(RANGE_PAGE_ZERO, nItem, nAt, L"pages count from 1");
      if (n > m_nPageCount)
        return Fail(RANGE_BEYOND_LAST, nItem, nAt,
                    L"page " + Number(n) + L" is beyond the last page (" + Number(m_nPageCount) +
                        L")");
    }
  }
  return Expand(nFrom, nTo, nItem, nItemBegin);
}

bool RangeReader::Read() {
  size_t first = 0, last = m_text.size();
  while (first < last && IsBlank(m_text[first]))
    ++first;
  while (last > first && IsBlank(m_text[last - 1]))
    --last;
  const std::string whole = m_text.substr(first, last - first);
  if (whole == "Odd" || whole == "Even")
    return Every(whole == "Odd" ? 1 : 2);
  int32_t nItem = 0;
  for (size_t begin = 0; begin <= m_text.size() && !m_bStop;) {
    size_t end = m_text.find(',', begin);
    if (end == std::string::npos)
      end = m_text.size();
    ++nItem;
    size_t at = begin;
    while (at < end && IsBlank(m_text[at]))
      ++at;
    // Empty items (",,", a trailing comma) select nothing.
    if (at < end && !Take(ReadItem(m_text, begin, end), nItem, at) && !m_bSkipBad)
      return false;
    begin = end + 1;
  }
  return m_bOk;
}

} // namespace

bool MergerTool::ReadPageRange(const char *pszText, int32_t nPageCount, PageRangeReading &reading) {
  reading = PageRangeReading();
  const std::string text = pszText ? pszText : "";
  return RangeReader(text, nPageCount, false, reading).Read();
}

bool MergerTool::GetSelectPage(const char *pszRange, std::vector<int32_t> &vecPages,
                               int32_t nPageCount) {
  vecPages.clear();
  if (pszRange == nullptr)
    return true;
  PageRangeReading reading;
  reading.vecPages.swap(vecPages);
  const bool bOk = RangeReader(Cp1252ToUtf8(pszRange), nPageCount, true, reading).Read();
  vecPages.swap(reading.vecPages);
  return bOk;
}
