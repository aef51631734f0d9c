#include "PageViewTexts.h"

#include "Localization.h"

#include <algorithm>
#include <iterator>

namespace {

const PageViewTextEntry kTexts[] = {
    {IDS_PAGES_SELECTED, L"%d of %d pages selected"},
    {IDS_SHEET_COUNTER, L"Sheet %d of %d"},
    {IDS_PREVIEW_MAKING, L"Making the preview... %d%%"},
    {IDS_PREVIEW_FAILED, L"The preview could not be made."},
    {IDS_PAGES_UNREADABLE, L"The pages cannot be shown: %s"},
    {IDS_PREVIEW_CANCELLED, L"The preview was cancelled."},
    {IDS_NO_PAGE_CHOSEN, L"Choose at least one page."},
    {IDS_PREVIEW_NO_SHEETS, L"There is nothing to preview."},
};

} // namespace

std::wstring PageViewText(int id) {
  const std::wstring translated = LookupLangValue(L"STRING", std::to_wstring(id));
  if (!translated.empty())
    return translated;
  const auto found = std::find_if(std::begin(kTexts), std::end(kTexts),
                                  [id](const PageViewTextEntry &e) { return e.id == id; });
  return found == std::end(kTexts) ? std::wstring() : found->english;
}

const PageViewTextEntry *PageViewTextsBegin() { return std::begin(kTexts); }
const PageViewTextEntry *PageViewTextsEnd() { return std::end(kTexts); }
