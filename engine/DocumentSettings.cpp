#include "DocumentSettings.h"

#include "ObjectCopier.h"
#include "pdf/PdfWriter.h"

#include "SharedObjects.h"

namespace engine {

using pdf::Value;

namespace {

constexpr size_t kMaxIntents = 64;

} // namespace

// Two intents are the same when they name the same condition and carry the same profile bytes.
std::string DocumentSettings::IntentsSignature(SourceEntry &entry, const Value *pIntents) const {
  pdf::SourceDocument &doc = *entry.doc;
  pdf::ObjectPtr holder;
  pIntents = doc.Resolve(pIntents, holder);
  if (pIntents == nullptr || !pIntents->IsArray() || pIntents->array().empty())
    return {};
  std::string signature;
  size_t nSeen = 0;
  for (const Value &item : pIntents->array()) {
    if (++nSeen > kMaxIntents)
      break;
    pdf::ObjectPtr intentHolder;
    const Value *pIntent = doc.Resolve(&item, intentHolder);
    if (pIntent == nullptr || !pIntent->IsDict())
      continue;
    for (const char *pszKey :
         {"S", "OutputCondition", "OutputConditionIdentifier", "RegistryName", "Info"}) {
      pdf::ObjectPtr partHolder;
      const Value *pPart = doc.Resolve(pIntent->Get(pszKey), partHolder);
      signature += pszKey;
      if (pPart != nullptr && (pPart->IsString() || pPart->IsName()))
        pdf::AppendValue(signature, *pPart);
      signature += '\n';
    }
    const Value *pProfile = pIntent->Get("DestOutputProfile");
    if (pProfile != nullptr && pProfile->IsRef()) {
      pdf::ObjectPtr profile = doc.Load(pProfile->ref());
      std::string storage;
      std::string_view data;
      if (profile->bStream && doc.StreamData(pProfile->ref().num, *profile, storage, data)) {
        signature += Sha256(data);
      }
    }
    signature += '\n';
  }
  return signature;
}

void DocumentSettings::Take(SourceEntry &entry) {
  if (!m_taken.insert(&entry).second)
    return;
  const Value &catalog = entry.doc->Catalog();
  const std::string intents = IntentsSignature(entry, catalog.Get("OutputIntents"));
  if (m_bFirst) {
    m_bFirst = false;
    if (const Value *pPreferences = catalog.Get("ViewerPreferences"))
      m_preferences = entry.copier->Map(*pPreferences);
    m_strIntents = intents;
    if (!intents.empty())
      m_intents = entry.copier->Map(*catalog.Get("OutputIntents"));
  } else if (intents != m_strIntents) {
    m_bIntentsAgree = false;
  }
}

void DocumentSettings::Build(pdf::Dict &catalog) const {
  if (m_preferences.IsDict() || m_preferences.IsRef())
    catalog.Set("ViewerPreferences", m_preferences);
  if (m_bIntentsAgree && !m_intents.IsNull())
    catalog.Set("OutputIntents", m_intents);
}

} // namespace engine
