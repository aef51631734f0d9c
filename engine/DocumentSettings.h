#pragma once
// What the merged file takes over from its sources' catalogs besides pages: the viewer
// preferences of the first document, and the output intents (the colour conditions a print
// file is made for) when every document names the same.

#include "SourceCache.h"

#include <string>
#include <unordered_set>

namespace engine {

class DocumentSettings {
public:
  // Takes what an open source says (once per source, however often it is listed).
  void Take(SourceEntry &entry);
  // Sets /ViewerPreferences and /OutputIntents on the catalog when there are some.
  void Build(pdf::Dict &catalog) const;

private:
  std::string IntentsSignature(SourceEntry &entry, const pdf::Value *pIntents) const;

  std::unordered_set<const SourceEntry *> m_taken;
  bool m_bFirst = true;
  pdf::Value m_preferences;
  pdf::Value m_intents;
  std::string m_strIntents; // what the first document's intents are, to compare the others'
  bool m_bIntentsAgree = true;
};

} // namespace engine
