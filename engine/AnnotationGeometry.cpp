#include "AnnotationGeometry.h"

#include "pdf/PdfWriter.h"

#include <cmath>
#include <cstdlib>

namespace engine {

using pdf::Value;

namespace {

// Keys that hold x, y pairs: text markup quadrilaterals, polygon vertices, line end points,
// callout lines.
constexpr const char *kPointKeys[] = {"QuadPoints", "Vertices", "L", "CL"};
// Keys that hold arrays of x, y pair lists: ink strokes, paths.
constexpr const char *kPathKeys[] = {"InkList", "Path"};
// Lengths: leader lines of a Line annotation.
constexpr const char *kLengthKeys[] = {"LL", "LLE", "LLO"};

// The points of a list mapped, or null when it is not a list of coordinates.
Value MapPoints(const Value *pList, const Matrix &m) {
  if (pList == nullptr || !pList->IsArray() || pList->array().empty() ||
      pList->array().size() % 2 != 0)
    return Value();
  pdf::Array mapped;
  mapped.reserve(pList->array().size());
  const pdf::Array &points = pList->array();
  for (size_t i = 0; i + 1 < points.size(); i += 2) {
    if (!points[i].IsNumber() || !points[i + 1].IsNumber() || !IsCoordinate(points[i].number()) ||
        !IsCoordinate(points[i + 1].number()))
      return Value();
    double x = points[i].number(), y = points[i + 1].number();
    MapPoint(m, x, y);
    mapped.push_back(Value(x));
    mapped.push_back(Value(y));
  }
  return Value(std::move(mapped));
}

// Numbers of an array scaled by s (nested arrays too, for dash patterns); other items kept.
Value ScaleNumbers(const Value &value, double s, int nDepth = 0) {
  if (value.IsNumber())
    return IsCoordinate(value.number()) ? Value(value.number() * s) : Value(0);
  if (!value.IsArray() || nDepth > 2)
    return value;
  pdf::Array scaled;
  for (const Value &item : value.array())
    scaled.push_back(ScaleNumbers(item, s, nDepth + 1));
  return Value(std::move(scaled));
}

// The same stream's appearance on a placement turned nTurn: a form drawing the shared copy
// turned, or (for a stream that is no form and cannot be drawn from another) a copy with its
// matrix turned.
Value TurnedStream(SourceEntry &entry, const Value &ref, int nTurn, OutputBuilder &out) {
  if (!ref.IsRef())
    return entry.copier->Map(ref);
  const auto key = std::make_pair(ref.ref().num, nTurn);
  auto found = entry.turnedAppearances.find(key);
  if (found != entry.turnedAppearances.end())
    return Value(pdf::Ref{found->second, 0});
  pdf::SourceDocument &doc = *entry.doc;
  const pdf::ObjectPtr stream = doc.Load(ref.ref());
  Rect bbox;
  if (!stream->bStream || !ReadRect(stream->value.Get("BBox"), bbox))
    return entry.copier->Map(ref);
  const Matrix own = ReadMatrix(stream->value.Get("Matrix"));
  const Value *pSubtype = stream->value.Get("Subtype");
  const uint32_t nForm = out.Writer().Reserve();
  if (pSubtype != nullptr && pSubtype->IsName("Form")) {
    pdf::Dict xobjects;
    xobjects.Set("Ap", entry.copier->MapRef(ref.ref()));
    pdf::Dict resources;
    resources.Set("XObject", Value(std::move(xobjects)));
    pdf::Dict form;
    form.Set("Type", Value::MakeName("XObject"));
    form.Set("Subtype", Value::MakeName("Form"));
    form.Set("BBox", RectArray(MapRect(own, bbox)));
    form.Set("Matrix", MatrixArray(TurnMatrix(nTurn)));
    form.Set("Resources", Value(std::move(resources)));
    out.Writer().WriteStream(nForm, Value(std::move(form)), "/Ap Do");
  } else {
    std::string storage;
    std::string_view data;
    if (!doc.StreamData(ref.ref().num, *stream, storage, data))
      return entry.copier->Map(ref);
    Value dict = stream->value;
    dict.dict().Remove("Length");
    dict = entry.copier->Map(dict);
    dict.dict().Set("Matrix", MatrixArray(Multiply(own, TurnMatrix(nTurn))));
    out.Writer().WriteStream(nForm, std::move(dict), data);
  }
  entry.turnedAppearances.emplace(key, nForm);
  return Value(pdf::Ref{nForm, 0});
}

} // namespace

bool MapAnnotationGeometry(SourceEntry &entry, const Value &source, const Matrix &m,
                           pdf::Dict &annot) {
  pdf::SourceDocument &doc = *entry.doc;
  auto resolved = [&](const char *pszKey, pdf::ObjectPtr &holder) {
    return doc.Resolve(source.Get(pszKey), holder);
  };
  pdf::ObjectPtr holder;
  Rect rect;
  if (!ReadRect(resolved("Rect", holder), rect))
    return false;
  const Rect mapped = MapRect(m, rect);
  annot.Set("Rect", RectArray(mapped));
  const double s = ScaleOf(m);

  for (const char *pszKey : kPointKeys) {
    if (source.Get(pszKey) == nullptr)
      continue;
    Value points = MapPoints(resolved(pszKey, holder), m);
    if (points.IsNull())
      annot.Remove(pszKey);
    else
      annot.Set(pszKey, std::move(points));
  }
  for (const char *pszKey : kPathKeys) {
    if (source.Get(pszKey) == nullptr)
      continue;
    const Value *pPaths = resolved(pszKey, holder);
    pdf::Array paths;
    if (pPaths != nullptr && pPaths->IsArray())
      for (const Value &path : pPaths->array()) {
        pdf::ObjectPtr pathHolder;
        Value points = MapPoints(doc.Resolve(&path, pathHolder), m);
        if (!points.IsNull())
          paths.push_back(std::move(points));
      }
    if (paths.empty())
      annot.Remove(pszKey);
    else
      annot.Set(pszKey, Value(std::move(paths)));
  }
  // Rectangle differences: the inner rectangle mapped as the outer one is.
  if (source.Get("RD") != nullptr) {
    const Value *pRd = resolved("RD", holder);
    Rect inner;
    bool bGood = false;
    if (pRd != nullptr && pRd->IsArray() && pRd->array().size() == 4) {
      double d[4];
      bGood = true;
      for (size_t i = 0; i < 4; ++i) {
        const Value &item = pRd->array()[i];
        bGood = bGood && item.IsNumber() && IsCoordinate(item.number()) && item.number() >= 0;
        d[i] = bGood ? item.number() : 0;
      }
      inner = {rect.left + d[0], rect.bottom + d[3], rect.width - d[0] - d[2],
               rect.height - d[1] - d[3]};
      bGood = bGood && inner.width >= 0 && inner.height >= 0;
    }
    if (bGood) {
      const Rect in = MapRect(m, inner);
      annot.Set("RD", Value(pdf::Array{Value(in.left - mapped.left), Value(mapped.Top() - in.Top()),
                                       Value(mapped.Right() - in.Right()),
                                       Value(in.bottom - mapped.bottom)}));
    } else {
      annot.Remove("RD");
    }
  }
  for (const char *pszKey : kLengthKeys)
    if (source.Get(pszKey) != nullptr) {
      const Value *pLength = resolved(pszKey, holder);
      if (pLength != nullptr && pLength->IsNumber())
        annot.Set(pszKey, ScaleNumbers(*pLength, s));
      else
        annot.Remove(pszKey);
    }
  if (const Value *pBorder = resolved("Border", holder); pBorder && pBorder->IsArray())
    annot.Set("Border", ScaleNumbers(*pBorder, s));
  if (const Value *pStyle = resolved("BS", holder); pStyle && pStyle->IsDict()) {
    Value style = entry.copier->Map(*pStyle);
    for (const char *pszKey : {"W", "D"}) {
      pdf::ObjectPtr itemHolder;
      if (const Value *pItem = doc.Resolve(pStyle->Get(pszKey), itemHolder))
        style.dict().Set(pszKey, ScaleNumbers(*pItem, s));
    }
    annot.Set("BS", std::move(style));
  }
  // A FreeText's text is drawn by readers at the size its /DA gives: scaled with the rest.
  const Value *pSubtype = source.Get("Subtype");
  if (pSubtype != nullptr && pSubtype->IsName("FreeText") && s != 1)
    if (const Value *pDa = resolved("DA", holder); pDa && pDa->IsString())
      annot.Set("DA", Value::MakeString(ScaleTextSize(pDa->string().bytes, s)));
  return true;
}

Value PlacedAppearances(SourceEntry &entry, const Value *pAp, int nTurn, OutputBuilder &out) {
  if (pAp == nullptr)
    return Value();
  if (nTurn == 0)
    return entry.copier->Map(*pAp);
  pdf::ObjectPtr holder;
  const Value *pDict = entry.doc->Resolve(pAp, holder);
  if (pDict == nullptr || !pDict->IsDict())
    return Value();
  pdf::Dict turned;
  for (const pdf::DictEntry &kind : pDict->dict()) {
    pdf::ObjectPtr kindHolder;
    const Value *pKind = entry.doc->Resolve(&kind.value, kindHolder);
    if (kind.value.IsRef() && kindHolder && kindHolder->bStream) {
      turned.Set(kind.key, TurnedStream(entry, kind.value, nTurn, out));
    } else if (pKind != nullptr && pKind->IsDict()) {
      pdf::Dict states;
      for (const pdf::DictEntry &state : pKind->dict())
        states.Set(state.key, TurnedStream(entry, state.value, nTurn, out));
      turned.Set(kind.key, Value(std::move(states)));
    }
  }
  return Value(std::move(turned));
}

std::string ScaleTextSize(const std::string &da, double s) {
  // The number just before "Tf" is the size; everything else stays as written.
  const size_t nTf = da.rfind("Tf");
  if (nTf == std::string::npos)
    return da;
  size_t end = nTf;
  while (end > 0 &&
         (da[end - 1] == ' ' || da[end - 1] == '\t' || da[end - 1] == '\n' || da[end - 1] == '\r'))
    --end;
  size_t begin = end;
  while (begin > 0 && (std::isdigit(static_cast<unsigned char>(da[begin - 1])) ||
                       da[begin - 1] == '.' || da[begin - 1] == '-' || da[begin - 1] == '+'))
    --begin;
  if (begin == end)
    return da;
  const double size = std::strtod(da.substr(begin, end - begin).c_str(), nullptr);
  if (!std::isfinite(size) || std::fabs(size) > 10000)
    return da;
  std::string scaled;
  pdf::AppendReal(scaled, size * s);
  return da.substr(0, begin) + scaled + da.substr(end);
}

} // namespace engine
