#pragma once
#include <cstdint>
#include <string>

// The page range dialog's check of a typed page list: the engine's page range grammar
// (MergerTool::ReadPageRange) with the dialog's stricter rules on top. Comma-separated parts, each
// "N", "A-B", "A-" or "-B" after spaces and tabs are removed at the part's two ends; numbers are
// digits only, from 1 to the page count. Empty parts (a leading, trailing or doubled comma), a
// lone "-", two dashes, inner spaces and the words "Odd" and "Even" fail. A greater than B is
// allowed: the pages run from A down to B.

// True when every part of text passes for a document of nTotalPages pages.
bool CheckPageRangeText(const std::wstring &text, int32_t nTotalPages);

// True when text is one of the engine's keywords "Odd" and "Even" (which Choose Pages writes).
bool IsPageRangeKeyword(const std::wstring &text);
