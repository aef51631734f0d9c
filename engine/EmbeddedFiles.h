#pragma once
// Files attached to the merged documents. The attachments of every source are gathered in the
// output's one /EmbeddedFiles tree; a name already taken by an earlier source gets " (2)",
// " (3)"... before its extension, in the tree and in the file's own name, so that no file
// hides another. Files the documents associate with themselves (/AF) are kept too. Each file is
// copied once, so annotations and structure elements of its source that point at it keep
// pointing at the same file.

#include "SourceCache.h"

#include <map>
#include <string>
#include <unordered_set>

namespace engine {

// name + " (n)" before the extension, for PDF text strings in either encoding.
std::string NumberedName(const std::string &name, int n);

class EmbeddedFiles {
public:
  // Takes the files of an open source (once per source, however often it is listed).
  void Take(SourceEntry &entry, pdf::PdfWriter &writer);
  // Sets the catalog's /Names /EmbeddedFiles and /AF when some source had files.
  void Build(pdf::Dict &catalog, pdf::PdfWriter &writer) const;

private:
  std::unordered_set<const SourceEntry *> m_taken;
  std::map<std::string, pdf::Value> m_files; // name -> file specification, in name order
  pdf::Array m_associated;
};

} // namespace engine
