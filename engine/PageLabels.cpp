#include "PageLabels.h"

#include "NameTrees.h"
#include "pdf/Limits.h"
#include "pdf/PdfWriter.h"

#include <algorithm>
#include <cmath>

namespace engine {

using pdf::Value;

namespace {

// Label numbers beyond this are junk (readers print them as numbers in any case).
constexpr int64_t kMaxLabelNumber = 1'000'000'000;

bool SamePrefix(const Value &a, const Value &b) {
  if (a.IsNull() || b.IsNull())
    return a.IsNull() && b.IsNull();
  return a.string().bytes == b.string().bytes;
}

} // namespace

const std::vector<PageLabels::Range> &PageLabels::Read(SourceEntry &entry) {
  auto found = m_sources.find(&entry);
  if (found != m_sources.end())
    return found->second;
  std::vector<Range> &ranges = m_sources[&entry];
  pdf::SourceDocument &doc = *entry.doc;
  const size_t nPages = doc.Pages().size();
  ReadTree(doc, doc.Catalog().Get("PageLabels"), true, [&](const Value &key, const Value &item) {
    if (!key.IsInt() || key.integer() < 0 || static_cast<size_t>(key.integer()) >= nPages)
      return true; // a range starting past the last page labels nothing
    pdf::ObjectPtr holder;
    const Value *pLabel = doc.Resolve(&item, holder);
    if (pLabel == nullptr || !pLabel->IsDict())
      return true;
    Range range;
    range.nStart = static_cast<size_t>(key.integer());
    pdf::ObjectPtr partHolder;
    const Value *pStyle = doc.Resolve(pLabel->Get("S"), partHolder);
    if (pStyle != nullptr && pStyle->IsName() && pStyle->name().size() == 1 &&
        std::string("DRrAa").find(pStyle->name()[0]) != std::string::npos)
      range.style = pStyle->name();
    const Value *pPrefix = doc.Resolve(pLabel->Get("P"), partHolder);
    if (pPrefix != nullptr && pPrefix->IsString())
      range.prefix = *pPrefix;
    const Value *pFirst = doc.Resolve(pLabel->Get("St"), partHolder);
    if (pFirst != nullptr && pFirst->IsNumber() && pFirst->number() >= 1 &&
        pFirst->number() <= static_cast<double>(kMaxLabelNumber))
      range.nFirst = static_cast<int64_t>(pFirst->number());
    ranges.push_back(std::move(range));
    return true;
  });
  // Trees out of order are read as readers do: the range with the highest start at or below
  // a page applies to it.
  std::stable_sort(ranges.begin(), ranges.end(),
                   [](const Range &a, const Range &b) { return a.nStart < b.nStart; });
  return ranges;
}

void PageLabels::Placed(SourceEntry *pEntry, size_t nPage, size_t nSheet, int nPosition,
                        MergeContext &context) {
  const std::vector<Range> *pRanges = pEntry != nullptr ? &Read(*pEntry) : nullptr;
  const bool bLabelled = pRanges != nullptr && !pRanges->empty();
  if (!m_bCarry) {
    if (bLabelled && !m_told[pEntry]) {
      m_told[pEntry] = true;
      context.notices.push_back(
          {nPosition, 0, false, L"its page labels are not kept on sheets of several pages"});
    }
    return;
  }
  Range label;
  label.nStart = nSheet;
  label.style = "D";
  label.nFirst = static_cast<int64_t>(nSheet) + 1; // an unlabelled page: its place in the output
  if (bLabelled) {
    m_bAny = true;
    auto after = std::upper_bound(pRanges->begin(), pRanges->end(), nPage,
                                  [](size_t n, const Range &r) { return n < r.nStart; });
    if (after != pRanges->begin()) {
      const Range &source = *std::prev(after);
      label.style = source.style;
      label.prefix = source.prefix;
      label.nFirst =
          std::min(kMaxLabelNumber, source.nFirst + static_cast<int64_t>(nPage - source.nStart));
    }
  }
  // A sheet that goes on where the previous one left off joins its range.
  if (!m_out.empty() && nSheet == m_nLastSheet + 1) {
    const Range &last = m_out.back();
    const int64_t nExpected = last.nFirst + static_cast<int64_t>(nSheet - last.nStart);
    if (last.style == label.style && SamePrefix(last.prefix, label.prefix) &&
        (label.style.empty() || nExpected == label.nFirst)) {
      m_nLastSheet = nSheet;
      return;
    }
  }
  m_out.push_back(std::move(label));
  m_nLastSheet = nSheet;
}

Value PageLabels::Build(pdf::PdfWriter &writer) const {
  if (!m_bAny || m_out.empty())
    return Value();
  std::vector<std::pair<int64_t, Value>> entries;
  entries.reserve(m_out.size());
  for (const Range &range : m_out) {
    pdf::Dict label;
    if (!range.style.empty())
      label.Set("S", Value::MakeName(range.style));
    if (!range.prefix.IsNull())
      label.Set("P", range.prefix);
    if (range.nFirst != 1)
      label.Set("St", Value(range.nFirst));
    entries.emplace_back(static_cast<int64_t>(range.nStart), Value(std::move(label)));
  }
  return Value(pdf::Ref{WriteNumberTree(writer, entries), 0});
}

} // namespace engine
