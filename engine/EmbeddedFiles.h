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
#include <unordered_map>
#include <unordered_set>

namespace engine {

// name + " (n)" before the extension, for PDF text strings in either encoding.
std::string NumberedName(const std::string &name, int n);

class EmbeddedFiles {
public:
  // Takes the files of an open source (once per source, however often it is listed).
  void Take(SourceEntry &entry, pdf::PdfWriter &writer);
  // The name a file embedded in the source under name has in the output (its files are taken
  // first when they were not yet); empty when the source holds no such file.
  std::string OutputName(SourceEntry &entry, pdf::PdfWriter &writer, const std::string &name);
  // Sets the catalog's /Names /EmbeddedFiles and /AF when some source had files.
  void Build(pdf::Dict &catalog, pdf::PdfWriter &writer) const;

private:
  std::unordered_set<const SourceEntry *> m_taken;
  // Per source: its name of a file -> the file's name in the output.
  std::unordered_map<const SourceEntry *, std::map<std::string, std::string>> m_outputNames;
  std::map<std::string, pdf::Value> m_files; // name -> file specification, in name order
  pdf::Array m_associated;
};

} // namespace engine
