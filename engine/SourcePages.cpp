// Forms from pages. A page with one content stream becomes a form whose data are that stream's
// bytes as they were encoded in the source: nothing is decoded or re-encoded. Pages with
// several content streams get a form whose content is the streams decoded and joined,
// Flate-encoded.

#include "SourcePages.h"

#include "pdf/Limits.h"
#include "pdf/StreamFilters.h"

#include <algorithm>
#include <cmath>

namespace engine {

using pdf::Value;

namespace {

constexpr Rect kLetter{0, 0, 612, 792}; // what readers show for a page without a usable box
constexpr int64_t kFlagHidden = 2;
constexpr int64_t kFlagNoView = 32;
constexpr size_t kMaxAnnotations = 10000;

bool ReadBox(SourceEntry &entry, const pdf::SharedValue &pValue, Rect &box) {
  if (pValue == nullptr)
    return false;
  pdf::ObjectPtr holder;
  const Value *pArray = entry.doc->Resolve(pValue.get(), holder);
  if (pArray != nullptr && pArray->IsArray()) {
    // Boxes given through references item by item are rare but valid.
    pdf::Array items;
    for (const Value &item : pArray->array()) {
      pdf::ObjectPtr itemHolder;
      const Value *pItem = entry.doc->Resolve(&item, itemHolder);
      items.push_back(pItem ? *pItem : Value());
    }
    const Value resolved(std::move(items));
    return ReadRect(&resolved, box) && box.width > 0 && box.height > 0;
  }
  return false;
}

Value FormDict(const Rect &box) {
  pdf::Dict dict;
  dict.Set("Type", Value::MakeName("XObject"));
  dict.Set("Subtype", Value::MakeName("Form"));
  dict.Set("BBox", RectArray(box));
  return Value(std::move(dict));
}

} // namespace

PageGeometry ReadPageGeometry(SourceEntry &entry, const pdf::PageEntry &page) {
  PageGeometry geometry;
  Rect media, crop;
  if (!ReadBox(entry, page.mediaBox, media)) {
    entry.doc->Warn("a page has no usable media box and is shown at letter size");
    media = kLetter;
  }
  geometry.box = media;
  if (ReadBox(entry, page.cropBox, crop)) {
    // The visible area is the crop box clipped to the media box.
    const double left = std::max(crop.left, media.left),
                 bottom = std::max(crop.bottom, media.bottom);
    const double right = std::min(crop.Right(), media.Right()),
                 top = std::min(crop.Top(), media.Top());
    if (right > left && top > bottom)
      geometry.box = {left, bottom, right - left, top - bottom};
  }
  if (page.rotate != nullptr) {
    pdf::ObjectPtr holder;
    const Value *pRotate = entry.doc->Resolve(page.rotate.get(), holder);
    const double r = pRotate && pRotate->IsNumber() ? pRotate->number() : 0;
    if (std::isfinite(r) && std::fabs(r) < 1e6 && std::fmod(r, 90) == 0) {
      const int n = static_cast<int>(r) % 360;
      geometry.nRotate = n < 0 ? n + 360 : n;
    } else {
      entry.doc->Warn("a page's turn is not a multiple of 90 degrees and was ignored");
    }
  }
  return geometry;
}

uint32_t MakePageForm(SourceEntry &entry, const pdf::PageEntry &page, const Rect &box,
                      OutputBuilder &out, size_t nPageNumber,
                      std::optional<int64_t> nStructParents) {
  auto found = entry.forms.find(page.ref.num);
  if (found != entry.forms.end() && !nStructParents)
    return found->second;

  pdf::SourceDocument &doc = *entry.doc;
  ObjectCopier &copier = *entry.copier;
  const pdf::ObjectPtr pageObject = doc.Load(page.ref);
  Value form = FormDict(box);
  if (page.resources != nullptr) {
    Value resources = copier.Map(*page.resources);
    if (resources.IsDict() || resources.IsRef())
      form.dict().Set("Resources", std::move(resources));
  }
  if (!form.dict().Has("Resources"))
    form.dict().Set("Resources", Value(pdf::Dict()));
  // A page drawn as a transparency group keeps that look as a form.
  if (const Value *pGroup = pageObject->value.Get("Group"))
    form.dict().Set("Group", copier.Map(*pGroup));
  // Files associated with the page stay with what draws it.
  if (const Value *pFiles = pageObject->value.Get("AF"))
    form.dict().Set("AF", copier.Map(*pFiles));
  if (nStructParents)
    form.dict().Set("StructParents", Value(*nStructParents));

  const uint32_t nForm = out.Writer().Reserve();
  pdf::ObjectPtr contentsHolder;
  const Value *pContents = doc.Resolve(pageObject->value.Get("Contents"), contentsHolder);
  const Value *pContentsKey = pageObject->value.Get("Contents");
  if (pContents != nullptr && pContents->IsArray() && pContents->array().size() == 1) {
    pContentsKey = &pContents->array()[0];
    pContents = doc.Resolve(pContentsKey, contentsHolder);
  }
  std::string storage;
  std::string_view data;
  if (pContents != nullptr && contentsHolder != nullptr && contentsHolder->bStream &&
      pContentsKey->IsRef() &&
      doc.StreamData(pContentsKey->ref().num, *contentsHolder, storage, data)) {
    for (const char *pszKey : {"Filter", "DecodeParms"})
      if (const Value *pValue = contentsHolder->value.Get(pszKey))
        form.dict().Set(pszKey, copier.Map(*pValue));
    if (pdf::DropMalformedFilters(form))
      doc.Warn("page " + std::to_string(nPageNumber) +
               ": its content names no usable filter and is copied as it stands");
    out.Writer().WriteStream(nForm, std::move(form), data);
  } else {
    std::string content;
    if (pContents != nullptr && pContents->IsArray()) {
      for (const Value &part : pContents->array()) {
        pdf::ObjectPtr partHolder;
        const Value *pPart = doc.Resolve(&part, partHolder);
        std::string decoded;
        if (pPart != nullptr && partHolder != nullptr && partHolder->bStream && part.IsRef() &&
            doc.DecodedStream(part.ref().num, *partHolder, decoded) == pdf::DecodeResult::Ok) {
          content += decoded;
          content += '\n'; // parts may split anywhere but between tokens
        } else {
          doc.Warn("page " + std::to_string(nPageNumber) +
                   ": its content is damaged in part; that part was left out");
        }
      }
    } else if (pageObject->value.Get("Contents") != nullptr) {
      doc.Warn("page " + std::to_string(nPageNumber) +
               ": its content is missing or damaged; the page is left blank");
    }
    form.dict().Set("Filter", Value::MakeName("FlateDecode"));
    out.Writer().WriteStream(nForm, std::move(form), pdf::FlateEncode(content));
  }
  out.RegisterXObject(nForm);
  if (!nStructParents)
    entry.forms.emplace(page.ref.num, nForm);
  return nForm;
}

namespace {

// The normal appearance stream of an annotation: /AP /N, or its /AS state when /N has several.
const Value *NormalAppearance(pdf::SourceDocument &doc, const Value &annot, pdf::ObjectPtr &holder,
                              uint32_t &nNum) {
  pdf::ObjectPtr apHolder, statesHolder;
  const Value *pAp = doc.Resolve(annot.Get("AP"), apHolder);
  const Value *pN = pAp ? pAp->Get("N") : nullptr;
  const Value *pStates = nullptr;
  if (pN != nullptr && pN->IsRef()) {
    statesHolder = doc.Load(pN->ref());
    if (statesHolder->bStream) {
      holder = statesHolder;
      nNum = pN->ref().num;
      return &holder->value;
    }
    pStates = &statesHolder->value;
  } else {
    pStates = pN;
  }
  const Value *pState = annot.Get("AS");
  if (pStates == nullptr || !pStates->IsDict() || pState == nullptr || !pState->IsName())
    return nullptr;
  const Value *pStream = pStates->Get(pState->name());
  if (pStream == nullptr || !pStream->IsRef())
    return nullptr;
  holder = doc.Load(pStream->ref());
  if (!holder->bStream)
    return nullptr;
  nNum = pStream->ref().num;
  return &holder->value;
}

Matrix ReadMatrix(const Value *pArray) {
  Matrix m;
  if (pArray == nullptr || !pArray->IsArray() || pArray->array().size() != 6)
    return m;
  double v[6];
  for (int i = 0; i < 6; ++i) {
    const Value &item = pArray->array()[static_cast<size_t>(i)];
    if (!item.IsNumber() || !IsCoordinate(item.number()))
      return m;
    v[i] = item.number();
  }
  return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

} // namespace

std::vector<std::pair<uint32_t, Matrix>>
AnnotationOverlays(SourceEntry &entry, const pdf::PageEntry &page, OutputBuilder &out,
                   const std::function<bool(uint32_t)> &bCarried) {
  std::vector<std::pair<uint32_t, Matrix>> overlays;
  pdf::SourceDocument &doc = *entry.doc;
  const pdf::ObjectPtr pageObject = doc.Load(page.ref);
  pdf::ObjectPtr annotsHolder;
  const Value *pAnnots = doc.Resolve(pageObject->value.Get("Annots"), annotsHolder);
  if (pAnnots == nullptr || !pAnnots->IsArray())
    return overlays;
  size_t nSeen = 0;
  for (const Value &item : pAnnots->array()) {
    if (++nSeen > kMaxAnnotations)
      break;
    if (item.IsRef() && bCarried(item.ref().num))
      continue;
    pdf::ObjectPtr holder;
    const Value *pAnnot = doc.Resolve(&item, holder);
    if (pAnnot == nullptr || !pAnnot->IsDict())
      continue;
    const Value *pSubtype = pAnnot->Get("Subtype");
    if (pSubtype != nullptr && (pSubtype->IsName("Link") || pSubtype->IsName("Popup")))
      continue;
    const int64_t nFlags = static_cast<int64_t>(pdf::NumberOr(pAnnot->Get("F"), 0));
    if (nFlags & (kFlagHidden | kFlagNoView))
      continue;
    pdf::ObjectPtr appearanceHolder;
    uint32_t nAppearance = 0;
    const Value *pAppearance = NormalAppearance(doc, *pAnnot, appearanceHolder, nAppearance);
    Rect rect, bbox;
    if (pAppearance == nullptr || !ReadRect(pAnnot->Get("Rect"), rect) ||
        !ReadRect(pAppearance->Get("BBox"), bbox))
      continue;
    // The form's own /Matrix is applied by the reader; the box it gives is fitted to /Rect.
    const Rect shown = MapRect(ReadMatrix(pAppearance->Get("Matrix")), bbox);
    if (!(shown.width > 0 && shown.height > 0))
      continue;
    const double sx = rect.width / shown.width, sy = rect.height / shown.height;
    const Matrix toRect{sx, 0, 0, sy, rect.left - shown.left * sx, rect.bottom - shown.bottom * sy};

    auto found = entry.appearances.find(nAppearance);
    uint32_t nForm = 0;
    if (found != entry.appearances.end()) {
      nForm = found->second;
    } else {
      // Written as a form of its own: appearance streams often lack the form keys.
      std::string storage;
      std::string_view data;
      if (!doc.StreamData(nAppearance, *appearanceHolder, storage, data))
        continue;
      Value dict = *pAppearance;
      dict.dict().Remove("Length");
      dict = entry.copier->Map(dict);
      dict.dict().Set("Type", Value::MakeName("XObject"));
      dict.dict().Set("Subtype", Value::MakeName("Form"));
      dict.dict().Set("BBox", RectArray(bbox));
      nForm = out.Writer().Reserve();
      out.Writer().WriteStream(nForm, std::move(dict), data);
      out.RegisterXObject(nForm);
      entry.appearances.emplace(nAppearance, nForm);
    }
    overlays.emplace_back(nForm, toRect);
  }
  return overlays;
}

} // namespace engine
