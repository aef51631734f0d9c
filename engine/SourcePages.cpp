// Forms from pages. A page with one content stream becomes a form whose data are that stream's
// bytes as they were encoded in the source: nothing is decoded or re-encoded. Pages with
// several content streams get a form whose content is the streams decoded and joined,
// Flate-encoded.

#include "SourcePages.h"

#include "AppearanceMaker.h"
#include "SharedObjects.h"

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
  // /Type is optional for XObjects, and this dictionary is written once per page.
  pdf::Dict dict;
  dict.Set("Subtype", Value::MakeName("Form"));
  dict.Set("BBox", RectArray(box));
  return Value(std::move(dict));
}

// The page's content as one stream: dict gets its filters and data its bytes, in the file's
// own encoding when it is one stream, else the streams decoded, joined and Flate-encoded into
// storage.
void ReadPageContent(SourceEntry &entry, const pdf::LoadedObject &pageObject, size_t nPageNumber,
                     Value &dict, std::string &storage, std::string_view &data) {
  pdf::SourceDocument &doc = *entry.doc;
  pdf::ObjectPtr contentsHolder;
  const Value *pContents = doc.Resolve(pageObject.value.Get("Contents"), contentsHolder);
  const Value *pContentsKey = pageObject.value.Get("Contents");
  if (pContents != nullptr && pContents->IsArray() && pContents->array().size() == 1) {
    pContentsKey = &pContents->array()[0];
    pContents = doc.Resolve(pContentsKey, contentsHolder);
  }
  if (pContents != nullptr && contentsHolder != nullptr && contentsHolder->bStream &&
      pContentsKey->IsRef() &&
      doc.StreamData(pContentsKey->ref().num, *contentsHolder, storage, data)) {
    for (const char *pszKey : {"Filter", "DecodeParms"})
      if (const Value *pValue = contentsHolder->value.Get(pszKey))
        dict.dict().Set(pszKey, entry.copier->Map(*pValue));
    if (pdf::DropMalformedFilters(dict))
      doc.Warn("page " + std::to_string(nPageNumber) +
               ": its content names no usable filter and is copied as it stands");
    return;
  }
  std::string content;
  if (pContents != nullptr && pContents->IsArray()) {
    doc.JoinContents(pContents->array(), content, nPageNumber);
  } else if (pageObject.value.Get("Contents") != nullptr) {
    doc.Warn("page " + std::to_string(nPageNumber) +
             ": its content is missing or damaged; the page is left blank");
  }
  dict.dict().Set("Filter", Value::MakeName("FlateDecode"));
  storage = pdf::FlateEncode(content);
  data = storage;
}

} // namespace

bool CanShowAsSheet(SourceEntry &entry, const pdf::PageEntry &page, const PageGeometry &geometry) {
  if (geometry.nRotate != 0 || geometry.box.left != 0 || geometry.box.bottom != 0)
    return false;
  // Files associated with the page go with a form of it.
  return entry.doc->Load(page.ref)->value.Get("AF") == nullptr;
}

SheetContent MakeSheetContent(SourceEntry &entry, const pdf::PageEntry &page, size_t nPageNumber) {
  SheetContent content;
  auto found = entry.sheetContents.find(page.ref.num);
  if (found != entry.sheetContents.end() && found->second.second != 0) {
    content.nContents = found->second.first;
    content.resources = Value(pdf::Ref{found->second.second, 0});
    return content;
  }
  Value resources;
  if (page.resources != nullptr)
    resources = entry.copier->Map(*page.resources);
  if (!resources.IsRef() && !resources.IsDict())
    resources = Value(pdf::Dict());
  if (found != entry.sheetContents.end()) {
    // Placed again: resources given in the page become an object of their own (shared with
    // identical ones), so that every further placement only names it.
    if (resources.IsDict())
      resources = Value(pdf::Ref{entry.copier->WriteShared(resources), 0});
    found->second.second = resources.ref().num;
    content.nContents = found->second.first;
    content.resources = std::move(resources);
    return content;
  }
  const pdf::ObjectPtr pageObject = entry.doc->Load(page.ref);
  Value dict{pdf::Dict()};
  std::string storage;
  std::string_view data;
  ReadPageContent(entry, *pageObject, nPageNumber, dict, storage, data);
  content.nContents = entry.copier->WriteShared(std::move(dict), data);
  entry.sheetContents.emplace(
      page.ref.num, std::make_pair(content.nContents, resources.IsRef() ? resources.ref().num : 0));
  content.resources = std::move(resources);
  return content;
}

PageAnnotations ReadPageAnnotations(pdf::SourceDocument &doc, const pdf::PageEntry &page) {
  PageAnnotations annots;
  annots.page = doc.Load(page.ref);
  const Value *pAnnots = doc.Resolve(annots.page->value.Get("Annots"), annots.holder);
  if (pAnnots != nullptr && pAnnots->IsArray())
    annots.pItems = &pAnnots->array();
  return annots;
}

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

Value SheetGroup(SourceEntry &entry, const pdf::PageEntry &page) {
  const pdf::ObjectPtr pageObject = entry.doc->Load(page.ref);
  pdf::ObjectPtr holder;
  const Value *pGroup = entry.doc->Resolve(pageObject->value.Get("Group"), holder);
  const Value *pKind = pGroup ? pGroup->Get("S") : nullptr;
  if (pKind == nullptr || !pKind->IsName("Transparency"))
    return Value();
  return entry.copier->Map(*pGroup);
}

uint32_t MakePageForm(SourceEntry &entry, const pdf::PageEntry &page, const Rect &box,
                      OutputBuilder &out, size_t nPageNumber, bool bGroup,
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
  // A page's group is isolated whatever it says; a form's is only when it says so.
  if (bGroup) {
    Value group = SheetGroup(entry, page);
    if (group.IsDict()) {
      group.dict().Set("I", Value(true));
      form.dict().Set("Group", std::move(group));
    }
  }
  // Files associated with the page stay with what draws it.
  if (const Value *pFiles = pageObject->value.Get("AF"))
    form.dict().Set("AF", copier.Map(*pFiles));
  if (nStructParents)
    form.dict().Set("StructParents", Value(*nStructParents));

  std::string storage;
  std::string_view data;
  ReadPageContent(entry, *pageObject, nPageNumber, form, storage, data);
  uint32_t nForm = 0;
  if (!nStructParents) {
    // Shared with an identical form written before (the same page of a file listed twice, or
    // of two copies of one file).
    nForm = copier.WriteShared(std::move(form), data);
  } else {
    std::string encoded;
    CompressPlainStream(form, data, encoded);
    nForm = out.Writer().Reserve();
    out.Writer().WriteStream(nForm, std::move(form), data);
  }
  out.RegisterXObject(nForm);
  if (!nStructParents)
    entry.forms.emplace(page.ref.num, nForm);
  return nForm;
}

namespace {

// The normal appearance stream of an annotation in a state: /AP /N, or the state's stream when
// /N has several.
const Value *NormalAppearance(pdf::SourceDocument &doc, const Value &annot,
                              const std::string &state, pdf::ObjectPtr &holder, uint32_t &nNum) {
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
  if (pStates == nullptr || !pStates->IsDict())
    return nullptr;
  const Value *pStream = pStates->Get(state);
  if (pStream == nullptr || !pStream->IsRef())
    return nullptr;
  holder = doc.Load(pStream->ref());
  if (!holder->bStream)
    return nullptr;
  nNum = pStream->ref().num;
  return &holder->value;
}

// The matrix that puts an appearance's box (after its own /Matrix) onto the rectangle.
bool FitToRect(const Value &appearance, const Rect &rect, Rect &bbox, Matrix &toRect) {
  if (!ReadRect(appearance.Get("BBox"), bbox))
    return false;
  const Rect shown = MapRect(ReadMatrix(appearance.Get("Matrix")), bbox);
  if (!(shown.width > 0 && shown.height > 0))
    return false;
  const double sx = rect.width / shown.width, sy = rect.height / shown.height;
  toRect = {sx, 0, 0, sy, rect.left - shown.left * sx, rect.bottom - shown.bottom * sy};
  return true;
}

// A form of the source's appearance stream, written once per source.
uint32_t AppearanceForm(SourceEntry &entry, const Value &appearance, uint32_t nAppearance,
                        const pdf::LoadedObject &object, const Rect &bbox, OutputBuilder &out) {
  auto found = entry.appearances.find(nAppearance);
  if (found != entry.appearances.end())
    return found->second;
  // Written as a form of its own: appearance streams often lack the form keys.
  std::string storage;
  std::string_view data;
  if (!entry.doc->StreamData(nAppearance, object, storage, data))
    return 0;
  Value dict = appearance;
  dict.dict().Remove("Length");
  dict = entry.copier->Map(dict);
  dict.dict().Set("Type", Value::MakeName("XObject"));
  dict.dict().Set("Subtype", Value::MakeName("Form"));
  dict.dict().Set("BBox", RectArray(bbox));
  const uint32_t nForm = out.Writer().Reserve();
  out.Writer().WriteStream(nForm, std::move(dict), data);
  out.RegisterXObject(nForm);
  entry.appearances.emplace(nAppearance, nForm);
  return nForm;
}

} // namespace

std::vector<std::pair<uint32_t, Matrix>>
AnnotationOverlays(SourceEntry &entry, const pdf::PageEntry &page, OutputBuilder &out,
                   const std::function<bool(uint32_t)> &bCarried) {
  std::vector<std::pair<uint32_t, Matrix>> overlays;
  pdf::SourceDocument &doc = *entry.doc;
  const PageAnnotations annots = ReadPageAnnotations(doc, page);
  for (size_t i = 0; i < annots.size(); ++i) {
    const Value &item = annots[i];
    if (item.IsRef() && bCarried(item.ref().num))
      continue;
    pdf::ObjectPtr holder;
    const Value *pAnnot = doc.Resolve(&item, holder);
    if (pAnnot == nullptr || !pAnnot->IsDict())
      continue;
    // Only fields' widgets are drawn: every other annotation rides as an annotation.
    const Value *pSubtype = pAnnot->Get("Subtype");
    if (pSubtype == nullptr || !pSubtype->IsName("Widget"))
      continue;
    if (IntegerOr(pAnnot->Get("F"), 0) & (kFlagHidden | kFlagNoView))
      continue;
    Rect rect;
    if (!ReadRect(pAnnot->Get("Rect"), rect))
      continue;
    const WidgetState state = ReadWidgetState(entry, *pAnnot);
    const bool bButton = state.type == "Btn";
    const Value *pAs = pAnnot->Get("AS");
    const std::string shown =
        bButton ? ButtonState(entry, *pAnnot, state) : (pAs && pAs->IsName() ? pAs->name() : "");
    pdf::ObjectPtr appearanceHolder;
    uint32_t nAppearance = 0;
    const Value *pAppearance = NormalAppearance(doc, *pAnnot, shown, appearanceHolder, nAppearance);
    Rect bbox;
    Matrix toRect;
    // Readers draw text and choice fields anew when the form asks them to; buttons keep theirs.
    const bool bRedraw = state.bNeedAppearances && !bButton && EncodableText(state);
    if (pAppearance != nullptr && !bRedraw && FitToRect(*pAppearance, rect, bbox, toRect)) {
      if (const uint32_t nForm =
              AppearanceForm(entry, *pAppearance, nAppearance, *appearanceHolder, bbox, out))
        overlays.emplace_back(nForm, toRect);
      continue;
    }
    MadeAppearance made;
    if (!MakeWidgetAppearance(entry, *pAnnot, state, made))
      continue;
    pdf::Dict form;
    form.Set("Type", Value::MakeName("XObject"));
    form.Set("Subtype", Value::MakeName("Form"));
    form.Set("BBox", RectArray(made.bbox));
    form.Set("Resources", std::move(made.resources));
    const uint32_t nForm = out.Writer().Reserve();
    out.Writer().WriteStream(nForm, Value(std::move(form)), made.content);
    out.RegisterXObject(nForm);
    overlays.emplace_back(nForm, Matrix{1, 0, 0, 1, rect.left, rect.bottom});
  }
  return overlays;
}

} // namespace engine
