#pragma once
// Page labels of the merged file. On sheets that hold one page each, every sheet is labelled
// as its page was in its source ("iii", "A-2"); a page whose source has no labels, and a
// picture, is labelled by its position in the output, as readers number unlabelled pages.
// Sheets holding two or four pages have no labels of their own: a source's labels are then
// dropped, and the run says so.

#include "MergeContext.h"
#include "SourceCache.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace engine {

class PageLabels {
public:
  // bCarry: one page per sheet.
  explicit PageLabels(bool bCarry) : m_bCarry(bCarry) {}

  // Page nPage (0-based) of an open source went onto sheet nSheet; pEntry is null for a
  // picture. nPosition is the source's place in the list, for the notice.
  void Placed(SourceEntry *pEntry, size_t nPage, size_t nSheet, int nPosition,
              MergeContext &context);
  // Writes the output's /PageLabels tree; null when no source had labels.
  pdf::Value Build(pdf::PdfWriter &writer) const;

private:
  struct Range {
    size_t nStart = 0;  // the first page (source) or sheet (output) of the range
    std::string style;  // D, R, r, A, a, or empty for labels that are only the prefix
    pdf::Value prefix;  // a text string, or null
    int64_t nFirst = 1; // the number of the range's first page
  };
  const std::vector<Range> &Read(SourceEntry &entry);

  bool m_bCarry;
  bool m_bAny = false; // some placed source has labels
  std::unordered_map<const SourceEntry *, std::vector<Range>> m_sources;
  std::unordered_map<const SourceEntry *, bool> m_told;
  std::vector<Range> m_out;
  size_t m_nLastSheet = 0;
};

} // namespace engine
