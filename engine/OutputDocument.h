#pragma once
// The merge run's output document: PoDoFo's in-memory document with the operations the merge
// needs on top: copying a whole source document under an object-number offset, turning a
// copied page into a form XObject, and dropping what no sheet reaches.

#include <podofo/podofo.h>

#include <map>
#include <set>

namespace engine {

class OutputDocument : public PoDoFo::PdfMemDocument {
public:
  OutputDocument();

  // Moves every object of rSource into this document, each object number increased by the
  // returned offset and every reference inside fixed the same way; rSource is left without
  // objects. No page or outline is added. The offset is this document's object count plus its
  // free object count, raised past the highest object number in use when numbering has gaps.
  int AppendObjects(PoDoFo::PdfMemDocument &rSource);

  // A page's box as drawn: its crop box, or its media box when the crop box has no width,
  // inherited values included, corners in any order.
  PoDoFo::PdfRect PageBox(const PoDoFo::PdfObject *pPage) const;
  // A page's /Rotate, inherited values included, as 0, 90, 180 or 270.
  int PageRotation(const PoDoFo::PdfObject *pPage) const;

  // A form XObject that draws the copied page whose object is rCopiedPage, with bounding box
  // rBox and the page's own or inherited resources. The same page asked for again gives the
  // same form.
  PoDoFo::PdfReference MakePageForm(const PoDoFo::PdfReference &rCopiedPage,
                                    const PoDoFo::PdfRect &rBox);

  // A new sheet at the end of the page tree, with media box rBox and empty resources.
  // PoDoFo's own page insertion rewrites the tree's kids on every page, which makes long
  // documents quadratic; sheets are listed here and the tree is written once by FinishPages.
  PoDoFo::PdfObject *AppendSheet(const PoDoFo::PdfRect &rBox);
  // Writes the kids and count of the page tree's root.
  void FinishPages();

  // Removes every object that cannot be reached from the trailer, then numbers the rest
  // densely from 1, in their present order, with every reference fixed.
  void RemoveUnreachable();

  // The output's objects (PdfMemDocument's own accessor hides the writable one).
  PoDoFo::PdfVecObjects &Objects() { return *PoDoFo::PdfDocument::GetObjects(); }
  const PoDoFo::PdfVecObjects &Objects() const { return *PoDoFo::PdfDocument::GetObjects(); }

  // The object a value stands for, following references; null for a missing object.
  const PoDoFo::PdfObject *Resolve(const PoDoFo::PdfObject *pObj) const;
  // A page's own value of a key, or the nearest one up its page tree.
  const PoDoFo::PdfObject *FindInherited(const PoDoFo::PdfObject *pPage, const char *pszKey) const;

private:
  void Renumber();
  static void SetObjectNumber(PoDoFo::PdfObject *pObj, const PoDoFo::PdfReference &ref);
  PoDoFo::PdfObject *NewForm(const PoDoFo::PdfRect &rBox, const PoDoFo::PdfObject *pResources);
  void AddFormKeys(PoDoFo::PdfObject *pForm, const PoDoFo::PdfRect &rBox,
                   const PoDoFo::PdfObject *pResources);

  std::map<PoDoFo::PdfReference, PoDoFo::PdfReference> m_mapPageForms;
  PoDoFo::PdfArray m_arrSheets;
  // Content streams already turned into forms; a second page sharing one gets a copy.
  std::set<PoDoFo::PdfReference> m_setAdoptedStreams;
};

} // namespace engine
