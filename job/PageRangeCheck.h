#pragma once
#include <cstdint>
#include <string>

// The page range dialog's check of a typed page list, stricter than the engine's reading of the
// same text: comma-separated parts, each "N", "A-B", "A-" or "-B" after spaces and tabs are
// removed at the part's two ends; numbers are digits only, from 1 to the page count. Empty
// parts (a leading, trailing or doubled comma), a lone "-", two dashes, inner spaces and words
// such as "Odd" fail. A greater than B is allowed.

// True when every part of text passes for a document of nTotalPages pages.
bool CheckPageRangeText(const std::wstring &text, int32_t nTotalPages);
