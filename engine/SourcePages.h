#pragma once
// A page of a PDF source made ready for a sheet: its box and turn as a reader shows it, the
// form XObject that draws it, and the appearances of its annotations drawn over it.

#include "Geometry.h"
#include "SourceCache.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace engine {

struct PageGeometry {
  Rect box;        // the visible area: the crop box within the media box
  int nRotate = 0; // 0, 90, 180 or 270
};

// The page's geometry; malformed boxes and turns are replaced by what readers show, and the
// source is told (a warning) when that happens.
PageGeometry ReadPageGeometry(SourceEntry &entry, const pdf::PageEntry &page);

// The form XObject that draws the page, written once per page however often it is placed.
// nPageNumber (1-based) names the page in warnings. A page of a tagged source gets a form of
// its own at each placement, with /StructParents nStructParents (its place in the structure).
uint32_t MakePageForm(SourceEntry &entry, const pdf::PageEntry &page, const Rect &box,
                      OutputBuilder &out, size_t nPageNumber,
                      std::optional<int64_t> nStructParents = std::nullopt);

// The appearances of the page's visible annotations other than links, pop-ups and those
// bCarried says stay annotations (form fields that stay fillable), each as a form and the
// matrix that puts it on the page.
std::vector<std::pair<uint32_t, Matrix>>
AnnotationOverlays(SourceEntry &entry, const pdf::PageEntry &page, OutputBuilder &out,
                   const std::function<bool(uint32_t)> &bCarried);

} // namespace engine
