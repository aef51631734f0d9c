#include "NameTrees.h"

#include "pdf/Limits.h"
#include "pdf/PdfWriter.h"
#include "pdf/SourceDocument.h"

#include <unordered_set>

namespace engine {

using pdf::Value;

namespace {

// Entries per leaf of a written tree: small nodes keep a reader's look-up cheap.
constexpr size_t kLeafSize = 256;

class TreeReader {
public:
  TreeReader(pdf::SourceDocument &doc, bool bNumbers,
             const std::function<bool(const Value &, const Value &)> &visit)
      : m_doc(doc), m_pszKey(bNumbers ? "Nums" : "Names"), m_visit(visit) {}

  // False once the visitor asked to stop or the budget is spent.
  bool Read(const Value *pNode, int nDepth) {
    if (nDepth > limits::kMaxTreeDepth)
      return true;
    if (pNode != nullptr && pNode->IsRef() && !m_visited.insert(pNode->ref().num).second)
      return true; // a node listed again: a loop or a shared node, read once
    pdf::ObjectPtr holder;
    pNode = m_doc.Resolve(pNode, holder);
    if (pNode == nullptr || !pNode->IsDict())
      return true;
    pdf::ObjectPtr pairsHolder;
    const Value *pPairs = m_doc.Resolve(pNode->Get(m_pszKey), pairsHolder);
    if (pPairs != nullptr && pPairs->IsArray()) {
      const pdf::Array &pairs = pPairs->array();
      for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        if (++m_nEntries > limits::kMaxTreeEntries)
          return false;
        pdf::ObjectPtr keyHolder;
        const Value *pKey = m_doc.Resolve(&pairs[i], keyHolder);
        if (pKey != nullptr && !m_visit(*pKey, pairs[i + 1]))
          return false;
      }
    }
    pdf::ObjectPtr kidsHolder;
    const Value *pKids = m_doc.Resolve(pNode->Get("Kids"), kidsHolder);
    if (pKids != nullptr && pKids->IsArray())
      for (const Value &kid : pKids->array())
        if (!Read(&kid, nDepth + 1))
          return false;
    return true;
  }

private:
  pdf::SourceDocument &m_doc;
  const char *m_pszKey;
  const std::function<bool(const Value &, const Value &)> &m_visit;
  std::unordered_set<uint32_t> m_visited;
  size_t m_nEntries = 0;
};

// Leaves of kLeafSize entries under one root (a second level of kids for very large trees).
template <typename Key>
uint32_t WriteTree(pdf::PdfWriter &writer, const std::vector<std::pair<Key, Value>> &entries,
                   const char *pszKey, const std::function<Value(const Key &)> &keyValue) {
  struct Node {
    uint32_t nNum;
    Value first, last;
  };
  auto leaf = [&](size_t nFrom, size_t nTo, bool bRoot) {
    pdf::Array pairs;
    for (size_t i = nFrom; i < nTo; ++i) {
      pairs.push_back(keyValue(entries[i].first));
      pairs.push_back(entries[i].second);
    }
    pdf::Dict node;
    node.Set(pszKey, Value(std::move(pairs)));
    if (!bRoot && nTo > nFrom)
      node.Set("Limits",
               Value(pdf::Array{keyValue(entries[nFrom].first), keyValue(entries[nTo - 1].first)}));
    const uint32_t nNum = writer.Reserve();
    writer.WriteObject(nNum, Value(std::move(node)));
    return nNum;
  };
  if (entries.size() <= kLeafSize)
    return leaf(0, entries.size(), true);
  std::vector<Node> level;
  for (size_t i = 0; i < entries.size(); i += kLeafSize) {
    const size_t nTo = std::min(entries.size(), i + kLeafSize);
    level.push_back(
        {leaf(i, nTo, false), keyValue(entries[i].first), keyValue(entries[nTo - 1].first)});
  }
  // Intermediate nodes until one node holds every kid.
  while (level.size() > kLeafSize) {
    std::vector<Node> upper;
    for (size_t i = 0; i < level.size(); i += kLeafSize) {
      const size_t nTo = std::min(level.size(), i + kLeafSize);
      pdf::Array kids;
      for (size_t k = i; k < nTo; ++k)
        kids.push_back(Value(pdf::Ref{level[k].nNum, 0}));
      pdf::Dict node;
      node.Set("Kids", Value(std::move(kids)));
      node.Set("Limits", Value(pdf::Array{level[i].first, level[nTo - 1].last}));
      const uint32_t nNum = writer.Reserve();
      writer.WriteObject(nNum, Value(std::move(node)));
      upper.push_back({nNum, level[i].first, level[nTo - 1].last});
    }
    level = std::move(upper);
  }
  pdf::Array kids;
  for (const Node &node : level)
    kids.push_back(Value(pdf::Ref{node.nNum, 0}));
  pdf::Dict root;
  root.Set("Kids", Value(std::move(kids)));
  const uint32_t nRoot = writer.Reserve();
  writer.WriteObject(nRoot, Value(std::move(root)));
  return nRoot;
}

} // namespace

void ReadTree(pdf::SourceDocument &doc, const Value *pRoot, bool bNumbers,
              const std::function<bool(const Value &, const Value &)> &visit) {
  TreeReader(doc, bNumbers, visit).Read(pRoot, 0);
}

uint32_t WriteNameTree(pdf::PdfWriter &writer,
                       const std::vector<std::pair<std::string, Value>> &entries) {
  return WriteTree<std::string>(writer, entries, "Names",
                                [](const std::string &key) { return Value::MakeString(key); });
}

uint32_t WriteNumberTree(pdf::PdfWriter &writer,
                         const std::vector<std::pair<int64_t, Value>> &entries) {
  return WriteTree<int64_t>(writer, entries, "Nums", [](const int64_t &key) { return Value(key); });
}

} // namespace engine
