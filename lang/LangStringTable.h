#pragma once
#include <string>
#include <vector>

// The program's own string table: the English text of every string identifier. A language
// file's "STRING" section overrides these texts (see LoadLangString).

// The English text of string id; empty when the table has no such string.
std::wstring LoadBuiltInString(int id);
// Every identifier the table holds, in increasing order.
std::vector<int> BuiltInStringIds();
