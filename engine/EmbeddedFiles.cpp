#include "EmbeddedFiles.h"

#include "NameTrees.h"
#include "ObjectCopier.h"
#include "pdf/PdfWriter.h"

namespace engine {

using pdf::Value;

namespace {

constexpr int kMaxNumbering = 100000;
constexpr size_t kMaxAssociated = 100000;

} // namespace

std::string NumberedName(const std::string &name, int n) {
  const std::string suffix = " (" + std::to_string(n) + ")";
  const bool bWide = name.size() >= 2 && static_cast<unsigned char>(name[0]) == 0xFE &&
                     static_cast<unsigned char>(name[1]) == 0xFF;
  if (!bWide) {
    const size_t nDot = name.rfind('.');
    const size_t nAt = nDot == std::string::npos || nDot == 0 ? name.size() : nDot;
    return name.substr(0, nAt) + suffix + name.substr(nAt);
  }
  // UTF-16BE after its byte-order mark: the suffix goes in as UTF-16 too.
  std::string wide;
  for (char c : suffix) {
    wide += '\0';
    wide += c;
  }
  size_t nAt = name.size() - (name.size() % 2);
  for (size_t i = name.size() >= 4 ? (name.size() & ~size_t{1}) - 2 : 0; i > 2; i -= 2)
    if (name[i] == '\0' && name[i + 1] == '.') {
      nAt = i;
      break;
    }
  return name.substr(0, nAt) + wide + name.substr(nAt);
}

void EmbeddedFiles::Take(SourceEntry &entry, pdf::PdfWriter &writer) {
  if (!m_taken.insert(&entry).second)
    return;
  pdf::SourceDocument &doc = *entry.doc;
  ObjectCopier &copier = *entry.copier;
  const Value &catalog = doc.Catalog();
  pdf::ObjectPtr namesHolder;
  const Value *pNames = doc.Resolve(catalog.Get("Names"), namesHolder);
  if (pNames != nullptr && pNames->IsDict()) {
    ReadTree(doc, pNames->Get("EmbeddedFiles"), false, [&](const Value &key, const Value &spec) {
      if (!key.IsString())
        return true;
      const std::string &name = key.string().bytes;
      if (m_files.count(name) == 0) {
        Value mapped = copier.Map(spec);
        if (!mapped.IsNull()) {
          m_files.emplace(name, std::move(mapped));
          m_outputNames[&entry].emplace(name, name);
        }
        return true;
      }
      pdf::ObjectPtr holder;
      const Value *pSpec = doc.Resolve(&spec, holder);
      if (pSpec == nullptr || !pSpec->IsDict())
        return true;
      int n = 2;
      while (n < kMaxNumbering && m_files.count(NumberedName(name, n)) != 0)
        ++n;
      if (n == kMaxNumbering)
        return true;
      // The file's own names are numbered the same way: readers list files by them.
      Value renamed = copier.Map(*pSpec);
      for (const char *pszKey : {"UF", "F"}) {
        const Value *pOwn = renamed.Get(pszKey);
        if (pOwn != nullptr && pOwn->IsString())
          renamed.dict().Set(pszKey, Value::MakeString(NumberedName(pOwn->string().bytes, n)));
      }
      const uint32_t nSpec = writer.Reserve();
      writer.WriteObject(nSpec, renamed);
      m_files.emplace(NumberedName(name, n), Value(pdf::Ref{nSpec, 0}));
      m_outputNames[&entry].emplace(name, NumberedName(name, n));
      return true;
    });
  }
  pdf::ObjectPtr afHolder;
  const Value *pAssociated = doc.Resolve(catalog.Get("AF"), afHolder);
  if (pAssociated != nullptr && pAssociated->IsArray())
    for (const Value &item : pAssociated->array())
      if (m_associated.size() < kMaxAssociated) {
        Value mapped = copier.Map(item);
        if (!mapped.IsNull())
          m_associated.push_back(std::move(mapped));
      }
}

std::string EmbeddedFiles::OutputName(SourceEntry &entry, pdf::PdfWriter &writer,
                                      const std::string &name) {
  Take(entry, writer);
  auto names = m_outputNames.find(&entry);
  if (names == m_outputNames.end())
    return {};
  auto found = names->second.find(name);
  return found == names->second.end() ? std::string() : found->second;
}

void EmbeddedFiles::Build(pdf::Dict &catalog, pdf::PdfWriter &writer) const {
  if (!m_files.empty()) {
    const std::vector<std::pair<std::string, Value>> entries(m_files.begin(), m_files.end());
    pdf::Dict names;
    names.Set("EmbeddedFiles", Value(pdf::Ref{WriteNameTree(writer, entries), 0}));
    catalog.Set("Names", Value(std::move(names)));
  }
  if (!m_associated.empty())
    catalog.Set("AF", Value(m_associated));
}

} // namespace engine
