// Listing the pages: one depth-first walk of the page tree, each node read once. A node met a
// second time (a loop, or a node shared by two parents) is left out; a page listed several
// times is a page several times, as readers show it. Kids that are not pages are left out with
// a warning. The walk is bounded in nodes, pages and depth, and stops when cancelled.

#include "SourceDocument.h"

#include "Limits.h"

namespace engine::pdf {

namespace {

// Shared, so that the thousands of kids of one node do not each copy what they inherit.
struct Inherited {
  SharedValue resources, mediaBox, cropBox, rotate;
};

void Inherit(const Value &node, Inherited &attrs) {
  if (const Value *p = node.Get("Resources"))
    attrs.resources = std::make_shared<const Value>(*p);
  if (const Value *p = node.Get("MediaBox"))
    attrs.mediaBox = std::make_shared<const Value>(*p);
  if (const Value *p = node.Get("CropBox"))
    attrs.cropBox = std::make_shared<const Value>(*p);
  if (const Value *p = node.Get("Rotate"))
    attrs.rotate = std::make_shared<const Value>(*p);
}

// One open node of the walk: its kids, where the walk is in them, and what they inherit. The
// kids are read in place (held by the object that holds them), so the walk's memory grows
// with the tree's depth, not with the number of kids.
struct Level {
  ObjectPtr holder; // keeps kids alive; null when they live in the catalog
  const Array *kids = nullptr;
  size_t next = 0;
  Inherited attrs;
  int depth = 0;
};

// What a page listed again inherited the time before: the same ancestors give the same entry.
struct Listed {
  Inherited from;
  PageEntry entry;
};

bool Same(const Inherited &a, const Inherited &b) {
  return a.resources == b.resources && a.mediaBox == b.mediaBox && a.cropBox == b.cropBox &&
         a.rotate == b.rotate;
}

// Numbers given to inline kids lie above every number a file may use.
constexpr uint32_t kFirstInlineNumber = 0x40000000;

} // namespace

Ref SourceDocument::InlineNumber(const Value &kid, const ObjectPtr &holder) {
  auto found = m_inlineNumbers.find(&kid);
  if (found != m_inlineNumbers.end())
    return Ref{found->second, 0};
  const uint32_t nNum = kFirstInlineNumber + static_cast<uint32_t>(m_inline.size());
  auto object = std::make_shared<LoadedObject>();
  object->value = kid;
  m_inline.emplace(nNum, std::move(object));
  m_inlineNumbers.emplace(&kid, nNum);
  if (holder != nullptr)
    m_inlineHolders.push_back(holder); // the address stays this kid's while it is held
  return Ref{nNum, 0};
}

void SourceDocument::ListPages() {
  const Value *pRoot = m_catalog->value.Get("Pages");
  if (pRoot == nullptr) {
    Warn("the document has no page tree");
    return;
  }
  const size_t nPageBudget = std::min(
      limits::kMaxPages, std::max(limits::kMinPagesBudget, m_nSize / limits::kBytesPerPage));
  const char *pszTooLarge =
      "the page tree is larger than the engine reads; the pages after the limit were left out";
  // Inline kids are known by their address only during the walk.
  struct Forget {
    SourceDocument &doc;
    ~Forget() {
      doc.m_inlineNumbers = {};
      doc.m_inlineHolders = {};
    }
  } forget{*this};
  // The root is walked as the only kid of a level of its own.
  const Array rootKids{*pRoot};
  std::vector<Level> stack;
  stack.push_back(Level{m_catalog, &rootKids, 0, {}, 0});
  std::unordered_set<uint32_t> visited;
  std::unordered_map<uint32_t, Listed> listed;
  size_t nNodes = 0;
  bool bWarnedKid = false, bWarnedLoop = false;
  while (!stack.empty()) {
    if (TestCancel() || m_budget.Exhausted())
      return;
    Level &level = stack.back();
    if (level.next >= level.kids->size()) {
      stack.pop_back();
      continue;
    }
    const Value &kid = (*level.kids)[level.next++];
    const ObjectPtr parentHolder = level.holder;
    Inherited attrs = level.attrs;
    const int depth = level.depth;
    // The pages read so far go back to the system as the walk goes on: the tree's objects are
    // spread over the whole file, and each read maps the file's neighbouring pages too.
    if (nNodes % 512 == 511)
      ReleasePages();
    if (++nNodes > limits::kMaxPageTreeNodes + limits::kMaxPages || !m_budget.Spend(1)) {
      limits::NoteHit(limits::Bound::PageTree);
      Warn(pszTooLarge);
      return;
    }
    ObjectPtr holder = parentHolder;
    const Value *pNode = Resolve(&kid, holder);
    if (pNode == nullptr || !pNode->IsDict()) {
      if (!bWarnedKid)
        Warn("the page tree lists something that is not a page; it was left out");
      bWarnedKid = true;
      continue;
    }
    const Value *pType = pNode->Get("Type");
    const Value *pKids = pNode->Get("Kids");
    const bool bNode =
        (pType != nullptr && pType->IsName("Pages")) || (pType == nullptr && pKids != nullptr);
    const bool bPage =
        (pType != nullptr && pType->IsName("Page")) || (pType == nullptr && pKids == nullptr);
    // A kid given inline, not by reference, gets a number of its own.
    const Ref ref = kid.IsRef() ? kid.ref() : InlineNumber(kid, parentHolder);
    if (bNode) {
      if (!visited.insert(ref.num).second) {
        if (!bWarnedLoop)
          Warn("the page tree lists one of its own nodes again; the repeat was left out");
        bWarnedLoop = true;
        continue;
      }
      if (depth >= limits::kMaxTreeDepth) {
        limits::NoteHit(limits::Bound::PageTree);
        Warn("the page tree is nested too deeply; the pages below the limit were left out");
        continue;
      }
      m_pageTree.insert(ref.num);
      if (!m_bPagesOnly)
        Inherit(*pNode, attrs);
      ObjectPtr kidsHolder = holder;
      const Value *pKidArray = Resolve(pKids, kidsHolder);
      if (pKidArray != nullptr && pKidArray->IsArray())
        stack.push_back(Level{kidsHolder, &pKidArray->array(), 0, std::move(attrs), depth + 1});
    } else if (bPage) {
      if (m_pages.size() >= nPageBudget) {
        limits::NoteHit(limits::Bound::PageBudget);
        Warn(pszTooLarge);
        return;
      }
      const bool bAgain = !m_pageTree.insert(ref.num).second;
      PageEntry page;
      if (bAgain && !m_bPagesOnly) {
        // Listed before: shares what it inherited then instead of copying it once more.
        auto found = listed.find(ref.num);
        if (found != listed.end() && Same(found->second.from, attrs)) {
          m_pages.push_back(found->second.entry);
          continue;
        }
      }
      const Inherited from = attrs;
      page.ref = ref;
      if (!m_bPagesOnly)
        Inherit(*pNode, attrs);
      page.resources = std::move(attrs.resources);
      page.mediaBox = std::move(attrs.mediaBox);
      page.cropBox = std::move(attrs.cropBox);
      page.rotate = std::move(attrs.rotate);
      if (bAgain && !m_bPagesOnly)
        listed[ref.num] = Listed{from, page};
      m_pages.push_back(std::move(page));
    } else {
      if (!bWarnedKid)
        Warn("the page tree lists something that is not a page; it was left out");
      bWarnedKid = true;
    }
  }
}

} // namespace engine::pdf
