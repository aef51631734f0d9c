#pragma once
// Where the pages of each listed source landed, and destinations of the sources (of links and
// outline entries) turned into destinations on the output's sheets. A source's destinations
// are read while the source is open, in the source's own terms (which page, which point), and
// turned into sheet destinations at the end, when every page has landed.

#include "SheetComposer.h"
#include "SourceCache.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine {

// A destination in a source: a point on a page, or the whole page.
struct SourceDest {
  uint32_t nPage = 0; // the page's object number in the source
  bool bWholePage = false;
  double x = 0, y = 0; // the point to show at the top-left, in the page's own space
};

// A source's named destinations, each read once when the first link or outline entry names
// one, sorted by name. A name whose destination names no page is kept with page 0.
struct NamedDestinations {
  std::vector<std::pair<std::string, SourceDest>> names;
  const SourceDest *Find(const std::string &name) const;
};

struct PendingLink {
  uint32_t nSource = 0; // the link's object number in the source (0: written in the page)
  size_t nSheet = 0;
  uint64_t nOrder = 0; // its place among the links of its sheet
  pdf::Value annot;    // the link, mapped into the output, without its target
  std::string held;    // the same as text while it waits (a book holds thousands)
  SourceDest dest;
  bool bGoTo = false; // the target is a destination to resolve (else the annot has its action)
  bool bInAction = false;
  int nPosition = -1;  // of its occurrence in the source list
  int nPageNumber = 0; // of the source page that holds it, 1-based
};

struct OutlineNode {
  pdf::Value title;
  bool bHasDest = false;
  SourceDest dest;
  bool bOpen = false;
  std::vector<OutlineNode> kids;
};

// One listed source as it was merged: the same file listed twice is two occurrences.
struct Occurrence {
  SourceEntry *pEntry = nullptr;
  std::wstring strTitle; // file name without extension
  bool bPlaced = false;
  Placement first; // its first placed page or picture
  // The first placement of each page of the source within this occurrence.
  std::unordered_map<uint32_t, Placement> pages;
  int nPosition = 0; // in the source list
  // Links not written yet, by the source page they point at: each is written as soon as its
  // page lands, so only links pointing ahead are held.
  std::unordered_map<uint32_t, std::vector<PendingLink>> waiting;
  // Its outline entry: numbered when the occurrence is placed; what is below it is written then.
  uint32_t nOutlineItem = 0;
  uint32_t nOutlineFirst = 0, nOutlineLast = 0;
  int64_t nOutlineVisible = 0; // entries below it shown when all open entries are open
  // Every annotation written for this occurrence (links, fields' widgets, comments and the
  // rest): its object number in the source and in the output, in the order written. A page
  // placed twice gives each of its annotations twice. Links and widgets are listed only for a
  // source with a structure tree (which points at them), since a book's links are many.
  std::vector<std::pair<uint32_t, uint32_t>> annotations;
  bool bStructured = false; // the source has a structure tree

  // Lists an annotation written (bAlways for those that are never many).
  void Wrote(uint32_t nSource, uint32_t nOut, bool bAlways) {
    if (nSource != 0 && (bAlways || bStructured))
      annotations.emplace_back(nSource, nOut);
  }
  // What could not be carried as it was: 1-based page of the source (0: the whole file), text.
  std::vector<std::pair<int, std::string>> notes;
  std::set<std::pair<int, std::string>> noted;
  // The name in the output of a file embedded in the source under a name (all of a source's
  // files are carried, some renamed); empty when the source holds no such file.
  std::function<std::string(const std::string &)> embeddedFileName;

  // Adds a note once, however often it is met.
  void Note(int nPage, const std::string &text);
  // The source page's 1-based number.
  int PageNumber(uint32_t nPage) const;
};

// An action that can run nothing, kept on comments and fields as it is: web addresses and the
// reader's own menu commands, with no chained /Next.
bool SafeAction(pdf::SourceDocument &doc, const pdf::Value *pAction);

// Reads a destination of an open source (an explicit array, or a name or string looked up in
// the source's named destinations); false when it names no page of the source.
bool ReadDest(SourceEntry &entry, const pdf::Value *pDest, SourceDest &out);

// The sheet destination of a source destination met in occurrence nOccurrence: false when its
// page was not placed in this occurrence (nor, with bOtherOccurrences, in another occurrence of
// the same file).
bool ResolveDest(const SourceDest &dest, const std::vector<Occurrence> &occurrences,
                 size_t nOccurrence, bool bOtherOccurrences, const OutputBuilder &out,
                 pdf::Value &array);
// The top-left corner of a placement's cell as it is shown.
pdf::Value CellDestination(const Placement &placement, const OutputBuilder &out);

} // namespace engine
