#pragma once
// A page of a PDF source made ready for a sheet: its box and turn as a reader shows it, the
// form XObject that draws it, and the appearances of its flattened fields drawn over it.

#include "Geometry.h"
#include "SourceCache.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace engine {

struct PageGeometry {
  Rect box;        // the visible area: the crop box within the media box
  int nRotate = 0; // 0, 90, 180 or 270
};

// The annotations a source page lists, in its order, at most kMaxAnnotations of them (a hostile
// page may list millions); holds what they are read from while it lives.
constexpr size_t kMaxAnnotations = 10000;
struct PageAnnotations {
  pdf::ObjectPtr page, holder;
  const pdf::Array *pItems = nullptr;
  size_t Listed() const { return pItems != nullptr ? pItems->size() : 0; }
  size_t size() const { return std::min(Listed(), kMaxAnnotations); }
  const pdf::Value &operator[](size_t i) const { return (*pItems)[i]; }
};
PageAnnotations ReadPageAnnotations(pdf::SourceDocument &doc, const pdf::PageEntry &page);

// The page's geometry; malformed boxes and turns are replaced by what readers show, and the
// source is told (a warning) when that happens.
PageGeometry ReadPageGeometry(SourceEntry &entry, const pdf::PageEntry &page);

// The form XObject that draws the page, written once per page however often it is placed.
// nPageNumber (1-based) names the page in warnings. With bGroup the page's transparency group
// goes with the form, isolated as a page's group is; without, the page is drawn alone on its
// sheet, which takes the group (SheetGroup): what every reader then shows is the source page.
// A page of a tagged source gets a form of its own at each placement, with /StructParents
// nStructParents (its place in the structure).
uint32_t MakePageForm(SourceEntry &entry, const pdf::PageEntry &page, const Rect &box,
                      OutputBuilder &out, size_t nPageNumber, bool bGroup,
                      std::optional<int64_t> nStructParents = std::nullopt);
// A page's own content and resources, for a sheet that shows the page itself.
struct SheetContent {
  uint32_t nContents = 0;
  pdf::Value resources;
};
// Whether the page can be a sheet's own content when it fills the sheet: it is upright at the
// origin of its space and nothing of it must stay with a form.
bool CanShowAsSheet(SourceEntry &entry, const pdf::PageEntry &page, const PageGeometry &geometry);
// The page's content stream (shared with an identical one written before) and its resources.
SheetContent MakeSheetContent(SourceEntry &entry, const pdf::PageEntry &page, size_t nPageNumber);

// The page's transparency group mapped into the output, or null.
pdf::Value SheetGroup(SourceEntry &entry, const pdf::PageEntry &page);

// The appearances of the page's visible fields' widgets other than those bCarried says stay
// annotations (fields that stay fillable), each as a form and the matrix that puts it on the
// page: the widget's own appearance in the state its field's value gives, or one made as
// readers make it when it has none or the form asks for new ones. Every other annotation rides
// as an annotation.
std::vector<std::pair<uint32_t, Matrix>>
AnnotationOverlays(SourceEntry &entry, const pdf::PageEntry &page, OutputBuilder &out,
                   const std::function<bool(uint32_t)> &bCarried);

} // namespace engine
