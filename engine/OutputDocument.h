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

  // Copies every object of rSource into this document, each object number increased by the
  // returned offset and every reference inside the copies fixed the same way. No page or
  // outline is added. The offset is this document's object count plus its free object count,
  // raised past the highest object number in use when the numbering has gaps.
  int AppendObjects(const PoDoFo::PdfMemDocument &rSource);

  // A form XObject that draws the copied page whose object is rCopiedPage, with bounding box
  // rBox and the page's own or inherited resources. The same page asked for again gives the
  // same form.
  PoDoFo::PdfReference MakePageForm(const PoDoFo::PdfReference &rCopiedPage,
                                    const PoDoFo::PdfRect &rBox);

  // Removes every object that cannot be reached from the trailer. Object numbers are kept.
  void RemoveUnreachable();

  // The output's objects (PdfMemDocument's own accessor hides the writable one).
  PoDoFo::PdfVecObjects &Objects() { return *PoDoFo::PdfDocument::GetObjects(); }
  const PoDoFo::PdfVecObjects &Objects() const { return *PoDoFo::PdfDocument::GetObjects(); }

private:
  const PoDoFo::PdfObject *Resolve(const PoDoFo::PdfObject *pObj) const;
  const PoDoFo::PdfObject *FindInherited(const PoDoFo::PdfObject *pPage, const char *pszKey) const;
  PoDoFo::PdfObject *NewForm(const PoDoFo::PdfRect &rBox, const PoDoFo::PdfObject *pResources);
  void AddFormKeys(PoDoFo::PdfObject *pForm, const PoDoFo::PdfRect &rBox,
                   const PoDoFo::PdfObject *pResources);

  std::map<PoDoFo::PdfReference, PoDoFo::PdfReference> m_mapPageForms;
  // Content streams already turned into forms; a second page sharing one gets a copy.
  std::set<PoDoFo::PdfReference> m_setAdoptedStreams;
};

} // namespace engine
