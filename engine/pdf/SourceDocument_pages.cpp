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

struct Frame {
  Value node; // a reference, or a page tree node given directly
  Inherited attrs;
  int depth = 0;
};

} // namespace

void SourceDocument::ListPages() {
  const Value *pRoot = m_catalog->value.Get("Pages");
  if (pRoot == nullptr) {
    Warn("the document has no page tree");
    return;
  }
  std::vector<Frame> stack;
  stack.push_back(Frame{*pRoot, {}, 0});
  std::unordered_set<uint32_t> visited;
  size_t nNodes = 0;
  bool bWarnedKid = false, bWarnedLoop = false;
  while (!stack.empty()) {
    if (TestCancel())
      return;
    Frame frame = std::move(stack.back());
    stack.pop_back();
    if (++nNodes > limits::kMaxPageTreeNodes || m_pages.size() >= limits::kMaxPages) {
      Warn(
          "the page tree is larger than the engine reads; the pages after the limit were left out");
      return;
    }
    ObjectPtr holder;
    const Value *pNode = Resolve(&frame.node, holder);
    const uint32_t nNum = frame.node.IsRef() ? frame.node.ref().num : 0;
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
    if (bNode) {
      if (nNum != 0 && !visited.insert(nNum).second) {
        if (!bWarnedLoop)
          Warn("the page tree lists one of its own nodes again; the repeat was left out");
        bWarnedLoop = true;
        continue;
      }
      if (frame.depth >= limits::kMaxTreeDepth) {
        Warn("the page tree is nested too deeply; the pages below the limit were left out");
        continue;
      }
      if (nNum != 0)
        m_pageTree.insert(nNum);
      if (!m_bPagesOnly)
        Inherit(*pNode, frame.attrs);
      ObjectPtr kidsHolder;
      const Value *pKidArray = Resolve(pKids, kidsHolder);
      if (pKidArray == nullptr || !pKidArray->IsArray())
        continue;
      const Array &kids = pKidArray->array();
      for (size_t i = kids.size(); i-- > 0;)
        stack.push_back(Frame{kids[i], frame.attrs, frame.depth + 1});
      if (stack.size() > limits::kMaxPages + limits::kMaxPageTreeNodes) {
        Warn("the page tree is larger than the engine reads; the pages after the limit were left "
             "out");
        return;
      }
    } else if (bPage && nNum != 0) {
      m_pageTree.insert(nNum);
      PageEntry page;
      page.ref = frame.node.ref();
      if (!m_bPagesOnly)
        Inherit(*pNode, frame.attrs);
      page.resources = std::move(frame.attrs.resources);
      page.mediaBox = std::move(frame.attrs.mediaBox);
      page.cropBox = std::move(frame.attrs.cropBox);
      page.rotate = std::move(frame.attrs.rotate);
      m_pages.push_back(std::move(page));
    } else {
      if (!bWarnedKid)
        Warn("the page tree lists something that is not a page; it was left out");
      bWarnedKid = true;
    }
  }
}

} // namespace engine::pdf
