#pragma once
#include <string>
#include <vector>

// printf-style formatting of translated texts. A language file may hold any text, so the
// conversions are never handed to printf: each of %s, %d, %u, %ld, %ls (with flags and width,
// such as %02d) takes the next argument, %% is a percent sign, and anything else, or a
// conversion without an argument left, is kept as written. An argument is shown as its text
// whatever the conversion asks for, so a wrong translation shows a wrong text but never reads
// memory it should not.
struct LangArg {
  LangArg(const std::wstring &text) : text(text) {}
  LangArg(const wchar_t *text) : text(text) {}
  LangArg(long long number) : number(number), isNumber(true) {}
  LangArg(int number) : number(number), isNumber(true) {}
  LangArg(long number) : number(number), isNumber(true) {}

  std::wstring text;
  long long number = 0;
  bool isNumber = false;
};

std::wstring FormatLangText(const std::wstring &format, const std::vector<LangArg> &args);
