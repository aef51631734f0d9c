#include "TranslateMenu.h"

#include "Localization.h"
#include "MenuCommandId.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/menu.h>

namespace {

bool IsMainWindowMenuBar(wxMenuBar *menuBar) {
  wxWindow *main = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
  auto *frame = dynamic_cast<wxFrame *>(main);
  return frame && frame->GetMenuBar() == menuBar;
}

void TranslateCommand(wxMenuItem *item) {
  const std::wstring text =
      LookupLangValue(L"MENU", std::to_wstring(CommandFromMenuItemId(item->GetId())));
  if (text.empty())
    return;
  const bool checked = item->IsCheckable() && item->IsChecked();
  const bool enabled = item->IsEnabled();
  item->SetItemLabel(text);
  // The states are put back explicitly: a new label must not clear them on any port.
  if (checked)
    item->Check(true);
  if (!enabled)
    item->Enable(false);
}

} // namespace

void TranslateMenu(wxMenu *menu) {
  if (!menu)
    return;
  for (size_t p = 0; p < menu->GetMenuItemCount(); ++p) {
    wxMenuItem *item = menu->FindItemByPosition(p);
    if (item->IsSubMenu())
      TranslateMenu(item->GetSubMenu());
    else if (!item->IsSeparator() && item->GetId() > 0)
      TranslateCommand(item);
  }
}

void TranslateMenu(wxMenuBar *menuBar) {
  if (!menuBar)
    return;
  const bool main = IsMainWindowMenuBar(menuBar);
  for (size_t p = 0; p < menuBar->GetMenuCount(); ++p) {
    if (main) {
      const std::wstring text = LookupLangValue(L"MENU", L"item_" + std::to_wstring(p + 1));
      if (!text.empty())
        menuBar->SetMenuLabel(p, text);
    }
    TranslateMenu(menuBar->GetMenu(p));
  }
}
