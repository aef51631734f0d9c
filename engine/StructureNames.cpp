// Names that the structure of several sources shares: roles, classes and element IDs. A name
// that means one thing in every source stays as it is; one that two sources use differently
// gets a new name in the later source.

#include "ObjectCopier.h"
#include "StructureTree.h"
#include "pdf/Limits.h"
#include "pdf/PdfWriter.h"

namespace engine {

using pdf::Value;

namespace {

constexpr size_t kMaxNames = 100000;

const std::set<std::string> &StandardRoles() {
  static const std::set<std::string> roles = {"Document",  "DocumentFragment",
                                              "Part",      "Art",
                                              "Sect",      "Div",
                                              "Aside",     "BlockQuote",
                                              "Caption",   "TOC",
                                              "TOCI",      "Index",
                                              "NonStruct", "Private",
                                              "P",         "H",
                                              "H1",        "H2",
                                              "H3",        "H4",
                                              "H5",        "H6",
                                              "Title",     "FENote",
                                              "L",         "LI",
                                              "Lbl",       "LBody",
                                              "Table",     "TR",
                                              "TH",        "TD",
                                              "THead",     "TBody",
                                              "TFoot",     "Span",
                                              "Quote",     "Note",
                                              "Reference", "BibEntry",
                                              "Code",      "Link",
                                              "Annot",     "Ruby",
                                              "RB",        "RT",
                                              "RP",        "Warichu",
                                              "WT",        "WP",
                                              "Figure",    "Formula",
                                              "Form",      "Sub",
                                              "Em",        "Strong",
                                              "Artifact"};
  return roles;
}

// A name not yet taken: base_1, base_2...
template <typename Taken> std::string FreshName(const std::string &base, const Taken &taken) {
  for (int n = 1;; ++n) {
    std::string name = base + "_" + std::to_string(n);
    if (!taken(name))
      return name;
  }
}

} // namespace

void StructureTree::ReadNames(SourceState &state, SourceEntry &entry, const Value &root) {
  pdf::SourceDocument &doc = *entry.doc;
  auto roleTaken = [this](const std::string &name) {
    return m_roleMap.count(name) != 0 || m_plainRoles.count(name) != 0 ||
           StandardRoles().count(name) != 0;
  };
  pdf::ObjectPtr rolesHolder;
  const Value *pRoles = doc.Resolve(root.Get("RoleMap"), rolesHolder);
  std::vector<std::pair<std::string, std::string>> mapped;
  if (pRoles != nullptr && pRoles->IsDict()) {
    for (const pdf::DictEntry &item : pRoles->dict()) {
      if (mapped.size() >= kMaxNames)
        break;
      pdf::ObjectPtr holder;
      const Value *pTarget = doc.Resolve(&item.value, holder);
      if (pTarget == nullptr || !pTarget->IsName() || item.key == pTarget->name())
        continue;
      mapped.emplace_back(item.key, pTarget->name());
      auto found = m_roleMap.find(item.key);
      // A standard role is its own meaning wherever it is not mapped: mapping it is a private
      // meaning of this source.
      const bool bClash = StandardRoles().count(item.key) != 0 ||
                          m_plainRoles.count(item.key) != 0 ||
                          (found != m_roleMap.end() && found->second != pTarget->name());
      state.roles[item.key] = bClash ? FreshName(item.key, roleTaken) : item.key;
      if (bClash)
        m_roleMap[state.roles[item.key]] = pTarget->name(); // taken before the next is chosen
    }
  }
  for (const auto &[role, target] : mapped) {
    auto chained = state.roles.find(target);
    m_roleMap[state.roles[role]] = chained != state.roles.end() ? chained->second : target;
  }

  pdf::ObjectPtr classesHolder;
  const Value *pClasses = doc.Resolve(root.Get("ClassMap"), classesHolder);
  if (pClasses == nullptr || !pClasses->IsDict())
    return;
  size_t nSeen = 0;
  for (const pdf::DictEntry &item : pClasses->dict()) {
    if (++nSeen > kMaxNames)
      break;
    // What a class means: its attributes, read through one level of references.
    std::string meaning;
    pdf::ObjectPtr holder;
    const Value *pValue = doc.Resolve(&item.value, holder);
    if (pValue == nullptr)
      continue;
    if (pValue->IsArray()) {
      for (const Value &part : pValue->array()) {
        pdf::ObjectPtr partHolder;
        if (const Value *pPart = doc.Resolve(&part, partHolder))
          pdf::AppendValue(meaning, *pPart);
      }
    } else {
      pdf::AppendValue(meaning, *pValue);
    }
    auto found = m_classMap.find(item.key);
    if (found != m_classMap.end() && found->second.first == meaning) {
      state.classes[item.key] = item.key;
      continue;
    }
    const std::string name =
        found == m_classMap.end() ? item.key : FreshName(item.key, [this](const std::string &n) {
          return m_classMap.count(n) != 0;
        });
    state.classes[item.key] = name;
    m_classMap[name] = {meaning, entry.copier->Map(item.value)};
  }
}

std::string StructureTree::RoleName(SourceState &state, const std::string &role) {
  auto found = state.roles.find(role);
  if (found != state.roles.end())
    return found->second;
  // Unmapped in this source: it means itself. Another source's mapping of it would change
  // that, so it is renamed here.
  std::string name = role;
  if (StandardRoles().count(role) == 0 && m_roleMap.count(role) != 0)
    name = FreshName(role, [this](const std::string &n) {
      return m_roleMap.count(n) != 0 || m_plainRoles.count(n) != 0;
    });
  if (state.roles.size() < kMaxNames)
    state.roles[role] = name;
  m_plainRoles.insert(name);
  return name;
}

Value StructureTree::ClassNames(const SourceState &state, const Value &classes) const {
  auto rename = [&state](const Value &item) {
    if (!item.IsName())
      return item;
    auto found = state.classes.find(item.name());
    return found != state.classes.end() ? Value::MakeName(found->second) : item;
  };
  if (!classes.IsArray())
    return rename(classes);
  pdf::Array out;
  for (const Value &item : classes.array())
    out.push_back(rename(item));
  return Value(std::move(out));
}

Value StructureTree::UniqueId(const Value &id, uint32_t nElement) {
  if (!id.IsString() || m_ids.size() >= limits::kMaxTreeEntries)
    return Value();
  std::string name = id.string().bytes;
  if (m_ids.count(name) != 0)
    name = FreshName(name, [this](const std::string &n) { return m_ids.count(n) != 0; });
  m_ids.emplace(name, Value(pdf::Ref{nElement, 0}));
  return Value::MakeString(name);
}

} // namespace engine
