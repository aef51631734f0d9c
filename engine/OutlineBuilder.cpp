#include "OutlineBuilder.h"

#include "AnsiText.h"
#include "PdfText.h"
#include "pdf/Limits.h"

#include <unordered_set>

namespace engine {

using pdf::Value;

namespace {

class OutlineReader {
public:
  explicit OutlineReader(SourceEntry &entry) : m_entry(entry) {}

  // The siblings starting at pFirst, each with what is below it.
  std::vector<OutlineNode> Read(const Value *pFirst, int nDepth) {
    std::vector<OutlineNode> nodes;
    pdf::SourceDocument &doc = *m_entry.doc;
    // The entry whose /Next is followed: the cache of read objects may have let it go.
    pdf::ObjectPtr previous;
    for (const Value *pRef = pFirst;
         pRef != nullptr && pRef->IsRef() && nDepth < limits::kMaxTreeDepth;) {
      // Malformed outlines may loop; every entry is read once.
      if (!m_visited.insert(pRef->ref().num).second || ++m_nEntries > limits::kMaxTreeEntries ||
          doc.Cancelled())
        break;
      const pdf::ObjectPtr item = doc.Load(pRef->ref());
      if (!item->value.IsDict())
        break;
      OutlineNode node;
      pdf::ObjectPtr titleHolder;
      const Value *pTitle = doc.Resolve(item->value.Get("Title"), titleHolder);
      node.title = (pTitle != nullptr && pTitle->IsString()) ? *pTitle : Value::MakeString("");
      const Value *pDest = item->value.Get("Dest");
      pdf::ObjectPtr actionHolder;
      if (pDest == nullptr) {
        const Value *pAction = doc.Resolve(item->value.Get("A"), actionHolder);
        if (pAction != nullptr && pAction->IsDict() && pAction->Get("S") &&
            pAction->Get("S")->IsName("GoTo"))
          pDest = pAction->Get("D");
      }
      if (pDest != nullptr)
        node.bHasDest = ReadDest(m_entry, pDest, node.dest);
      const Value *pCount = item->value.Get("Count");
      node.bOpen = pCount != nullptr && pCount->IsNumber() && pCount->number() > 0;
      node.kids = Read(item->value.Get("First"), nDepth + 1);
      if (node.bHasDest || !node.kids.empty())
        nodes.push_back(std::move(node));
      pRef = item->value.Get("Next");
      previous = item;
    }
    return nodes;
  }

private:
  SourceEntry &m_entry;
  std::unordered_set<uint32_t> m_visited;
  size_t m_nEntries = 0;
};

struct Written {
  uint32_t nFirst = 0, nLast = 0;
  int64_t nVisible = 0; // entries shown when all open entries are open
};

// The nodes that still have a target or a kid with one, with their targets on the sheets.
struct Resolved {
  Value title;
  bool bHasDest = false;
  Value dest;
  bool bOpen = false;
  std::vector<Resolved> kids;
};

std::vector<Resolved> Resolve(const std::vector<OutlineNode> &nodes,
                              const std::vector<Occurrence> &occurrences, size_t k,
                              const OutputBuilder &out) {
  std::vector<Resolved> result;
  for (const OutlineNode &node : nodes) {
    Resolved r;
    r.title = node.title;
    r.bOpen = node.bOpen;
    r.bHasDest = node.bHasDest && ResolveDest(node.dest, occurrences, k, false, out, r.dest);
    r.kids = Resolve(node.kids, occurrences, k, out);
    if (r.bHasDest || !r.kids.empty())
      result.push_back(std::move(r));
  }
  return result;
}

int64_t Visible(const std::vector<Resolved> &nodes) {
  int64_t n = 0;
  for (const Resolved &node : nodes)
    n += 1 + (node.bOpen ? Visible(node.kids) : 0);
  return n;
}

// Writes the siblings under nParent; returns their first and last objects.
Written Write(OutputBuilder &out, const std::vector<Resolved> &nodes, uint32_t nParent) {
  Written written;
  std::vector<uint32_t> numbers;
  for (size_t i = 0; i < nodes.size(); ++i)
    numbers.push_back(out.Writer().Reserve());
  for (size_t i = 0; i < nodes.size(); ++i) {
    const Resolved &node = nodes[i];
    pdf::Dict item;
    item.Set("Title", node.title);
    item.Set("Parent", Value(pdf::Ref{nParent, 0}));
    if (node.bHasDest)
      item.Set("Dest", node.dest);
    if (i > 0)
      item.Set("Prev", Value(pdf::Ref{numbers[i - 1], 0}));
    if (i + 1 < nodes.size())
      item.Set("Next", Value(pdf::Ref{numbers[i + 1], 0}));
    if (!node.kids.empty()) {
      const Written kids = Write(out, node.kids, numbers[i]);
      item.Set("First", Value(pdf::Ref{kids.nFirst, 0}));
      item.Set("Last", Value(pdf::Ref{kids.nLast, 0}));
      const int64_t nBelow = Visible(node.kids);
      item.Set("Count", Value(node.bOpen ? nBelow : -nBelow));
    }
    out.Writer().WriteObject(numbers[i], Value(std::move(item)));
  }
  if (!numbers.empty()) {
    written.nFirst = numbers.front();
    written.nLast = numbers.back();
  }
  return written;
}

} // namespace

void WriteSourceOutline(SourceEntry &entry, std::vector<Occurrence> &occurrences,
                        size_t nOccurrence, OutputBuilder &out) {
  Occurrence &occurrence = occurrences[nOccurrence];
  occurrence.nOutlineItem = out.Writer().Reserve();
  pdf::ObjectPtr holder;
  const Value *pOutlines = entry.doc->Resolve(entry.doc->Catalog().Get("Outlines"), holder);
  if (pOutlines == nullptr || !pOutlines->IsDict())
    return;
  const std::vector<OutlineNode> nodes = OutlineReader(entry).Read(pOutlines->Get("First"), 0);
  const std::vector<Resolved> kids = Resolve(nodes, occurrences, nOccurrence, out);
  if (kids.empty())
    return;
  const Written written = Write(out, kids, occurrence.nOutlineItem);
  occurrence.nOutlineFirst = written.nFirst;
  occurrence.nOutlineLast = written.nLast;
  occurrence.nOutlineVisible = Visible(kids);
}

uint32_t WriteOutline(const std::vector<Occurrence> &occurrences, OutputBuilder &out) {
  std::vector<const Occurrence *> top;
  for (const Occurrence &occurrence : occurrences)
    if (occurrence.bPlaced) {
      top.push_back(&occurrence);
    }
  if (top.empty())
    return 0;
  const uint32_t nRoot = out.Writer().Reserve();
  std::vector<uint32_t> numbers;
  for (const Occurrence *p : top)
    numbers.push_back(p->nOutlineItem != 0 ? p->nOutlineItem : out.Writer().Reserve());
  for (size_t i = 0; i < top.size(); ++i) {
    const Occurrence &occurrence = *top[i];
    pdf::Dict item;
    item.Set("Title", Value::MakeString(PdfTextString(WideToUtf8(occurrence.strTitle))));
    item.Set("Parent", Value(pdf::Ref{nRoot, 0}));
    item.Set("Dest", CellDestination(occurrence.first, out));
    if (i > 0)
      item.Set("Prev", Value(pdf::Ref{numbers[i - 1], 0}));
    if (i + 1 < top.size())
      item.Set("Next", Value(pdf::Ref{numbers[i + 1], 0}));
    if (occurrence.nOutlineFirst != 0) {
      // Closed: the file's own entries are shown when it is opened.
      item.Set("First", Value(pdf::Ref{occurrence.nOutlineFirst, 0}));
      item.Set("Last", Value(pdf::Ref{occurrence.nOutlineLast, 0}));
      item.Set("Count", Value(-occurrence.nOutlineVisible));
    }
    out.Writer().WriteObject(numbers[i], Value(std::move(item)));
  }
  pdf::Dict root;
  root.Set("Type", Value::MakeName("Outlines"));
  root.Set("First", Value(pdf::Ref{numbers.front(), 0}));
  root.Set("Last", Value(pdf::Ref{numbers.back(), 0}));
  root.Set("Count", Value(static_cast<int64_t>(top.size())));
  out.Writer().WriteObject(nRoot, Value(std::move(root)));
  return nRoot;
}

} // namespace engine
