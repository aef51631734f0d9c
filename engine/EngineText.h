#pragma once
#include <string>

namespace engine {

// UTF-8 for the file system; wide text is UTF-32 (or UTF-16 with surrogates where wchar_t is
// 16 bits). Unpaired surrogates and values past U+10FFFF become U+FFFD.
std::string WideToUtf8(const std::wstring &text);

} // namespace engine
