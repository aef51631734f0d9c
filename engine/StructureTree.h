#pragma once
// The tags (logical structure) of the merged file. Each placed occurrence of a tagged source
// brings its structure tree, restricted to the pages placed: elements with content on those
// pages are kept in their order, elements whose content lies only on other pages are dropped,
// and all of it goes under one /Document element in list order. A page is drawn as a form on
// its sheet, so its marked content is reached through the form: each placement of a page gets
// a form of its own with its own /StructParents, and every content reference names the sheet
// and the form. A page placed twice is two contents and is tagged twice.
//
// Role and class names that two sources use for different things get a new name in the later
// source, colliding element IDs are renumbered, and each source's language goes on its top
// elements when the sources do not share one. Annotations of the structure (links, fields)
// get their /StructParent when their writer says where they went.

#include "MergeContext.h"
#include "SourceCache.h"

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine {

class StructureTree {
public:
  StructureTree(OutputBuilder &out, MergeContext &context) : m_out(out), m_context(context) {}

  // An occurrence of an open PDF source at list position nPosition is about to be placed.
  void BeginOccurrence(SourceEntry &entry, int nPosition);
  // The /StructParents to give the form of the next page placed in this occurrence; none when
  // the source is untagged.
  std::optional<int64_t> FormKey();
  // That page (its source object number) was drawn by form nForm on sheet nSheet.
  void PagePlaced(uint32_t nPage, uint32_t nForm, size_t nSheet, std::optional<int64_t> nKey);
  // A picture is untagged content.
  void PicturePlaced(int nPosition);
  // After the occurrence's pages are placed, while its source is open: writes its structure.
  void EndOccurrence();

  // Annotation nSourceAnnot of the occurrence at list position nPosition was written as output
  // object nOutAnnot on sheet nSheet: the /StructParent to put on it, or none.
  std::optional<int64_t> AnnotationWritten(int nPosition, uint32_t nSourceAnnot, uint32_t nOutAnnot,
                                           size_t nSheet);

  // Writes what is still held and sets /StructTreeRoot, /MarkInfo and /Lang on the catalog.
  void Build(pdf::Dict &catalog);

private:
  struct PagePlacement {
    uint32_t nPage = 0; // source page object
    uint32_t nForm = 0;
    size_t nSheet = 0;
    int64_t nKey = -1;
  };
  // What a source brings once, whatever its occurrences.
  struct SourceState {
    bool bTagged = false;
    std::string lang;
    std::map<std::string, std::string> roles, classes; // renamed in this source
    std::unordered_map<uint32_t, int64_t> nestedKeys;  // a form inside a page -> its key
  };
  // An element waiting to be written: the top elements (for their language) and elements
  // whose annotations are not written yet.
  struct Held {
    pdf::Value dict;
    int nUnsettled = 0;
    bool bTop = false;
    std::string lang;
  };
  struct AnnotKey {
    int nPosition;
    uint32_t nAnnot;
    size_t nSheet;
    bool operator<(const AnnotKey &o) const {
      return std::tie(nPosition, nAnnot, nSheet) < std::tie(o.nPosition, o.nAnnot, o.nSheet);
    }
  };
  struct Slot {
    uint32_t nElement;
    size_t nIndex; // in the element's /K
    size_t nSheet;
  };
  struct Report {
    uint32_t nAnnot;
    int64_t nKey;
  };
  class Walk;
  friend class Walk;

  int64_t NewKey() { return m_nNextKey++; }
  uint32_t DocumentElement();
  void ReadNames(SourceState &state, SourceEntry &entry, const pdf::Value &root);
  std::string RoleName(SourceState &state, const std::string &role);
  pdf::Value ClassNames(const SourceState &state, const pdf::Value &classes) const;
  pdf::Value UniqueId(const pdf::Value &id, uint32_t nElement);
  pdf::Value NestedKey(SourceEntry &entry, uint32_t nForm);
  void WriteOrHold(uint32_t nNum, pdf::Value dict, int nUnsettled, bool bTop);
  void Settle(uint32_t nElement);
  void Notice(int nPosition, int nPage, const std::wstring &text);

  OutputBuilder &m_out;
  MergeContext &m_context;
  std::unordered_map<const SourceEntry *, SourceState> m_sources;

  // The occurrence being placed.
  SourceEntry *m_pEntry = nullptr;
  int m_nPosition = -1;
  std::vector<PagePlacement> m_placements;

  int64_t m_nNextKey = 0;
  std::vector<std::pair<int64_t, pdf::Value>> m_parentTree;
  std::map<int64_t, std::vector<uint32_t>> m_nestedArrays; // key -> element by MCID
  uint32_t m_nDocument = 0, m_nRoot = 0;
  std::vector<uint32_t> m_top; // the /Document element's kids, in order
  std::map<uint32_t, Held> m_held;
  std::multimap<AnnotKey, Slot> m_slots;          // links waiting for their annotation
  std::map<AnnotKey, std::deque<Report>> m_early; // annotations written before the walk
  std::set<int> m_walked;                         // positions whose structure is written
  std::map<std::string, std::string> m_roleMap;   // output role -> standard role
  std::set<std::string> m_plainRoles;             // used unmapped by some source
  std::map<std::string, std::pair<std::string, pdf::Value>> m_classMap; // name -> (what, value)
  std::map<std::string, pdf::Value> m_ids;
  std::set<std::string> m_langs; // of every placed document, "" for none
  std::vector<int> m_untagged;   // positions of untagged sources, told only when others are
  bool m_bAnyTagged = false, m_bAllTagged = true, m_bSuspects = false;
};

} // namespace engine
