#pragma once
// Name trees and number trees: read from a source (every walk bounded, every node read once)
// and written into the output from entries already in key order.

#include "pdf/PdfValue.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace engine {

namespace pdf {
class SourceDocument;
class PdfWriter;
} // namespace pdf

// Calls visit(key, value) for each entry of the tree under pRoot, in the tree's order, until it
// answers false. bNumbers reads a number tree (/Nums, integer keys written as text). Nodes met
// twice, trees deeper than the limits allow and entries past the budget are left out.
void ReadTree(pdf::SourceDocument &doc, const pdf::Value *pRoot, bool bNumbers,
              const std::function<bool(const pdf::Value &key, const pdf::Value &value)> &visit);

// Writes a name tree of the (already sorted) entries and returns its root's object number.
uint32_t WriteNameTree(pdf::PdfWriter &writer,
                       const std::vector<std::pair<std::string, pdf::Value>> &entries);
// Writes a number tree of the entries (keys ascending) and returns its root's object number.
uint32_t WriteNumberTree(pdf::PdfWriter &writer,
                         const std::vector<std::pair<int64_t, pdf::Value>> &entries);

} // namespace engine
