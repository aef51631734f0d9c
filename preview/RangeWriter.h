#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Page selections as range texts in the engine's syntax, and back.

// The shortest range text that selects pages (1-based; order and repeats do not matter) of a
// document of nPageCount pages: runs of two or more pages as "a-b", single pages as "n", joined
// by ", " ("1-3, 7, 9-12"); "Odd" or "Even" when the selection is exactly the odd or the even
// pages and they are two or more. Pages outside 1 .. nPageCount are left out; empty when none
// is left.
std::string WriteRangeText(const std::vector<int32_t> &pages, int32_t nPageCount);

// The pages the engine merges for a range text (MergerTool::ReadPageRange), each once, in
// ascending order: what a selection shows of the text. Of a text that does not read for this
// page count, the pages before the item that does not.
std::vector<int32_t> ReadRangeText(const std::wstring &text, int32_t nPageCount);
