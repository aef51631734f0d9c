#pragma once
#include <string>

// Texts of the Choose Pages and Preview windows that are not control captions: the current
// language file's "STRING" entry, else the English text kept here.
enum PageViewTextId {
  IDS_PAGES_SELECTED = 260,  // "%d of %d pages selected"
  IDS_SHEET_COUNTER = 261,   // "Sheet %d of %d"
  IDS_PREVIEW_MAKING = 262,  // "Making the preview... %d%%"
  IDS_PREVIEW_FAILED = 263,  // "The preview could not be made."
  IDS_PAGES_UNREADABLE = 264, // "The pages cannot be shown: %s"
  IDS_PREVIEW_CANCELLED = 265, // "The preview was cancelled."
  IDS_NO_PAGE_CHOSEN = 266,  // "Choose at least one page."
  IDS_PREVIEW_NO_SHEETS = 267, // "There is nothing to preview."
};

std::wstring PageViewText(int id);

// Every identifier above with its English text, in identifier order (for the language checks).
struct PageViewTextEntry {
  int id;
  const wchar_t *english;
};
const PageViewTextEntry *PageViewTextsBegin();
const PageViewTextEntry *PageViewTextsEnd();
