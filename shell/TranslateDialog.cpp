#include "TranslateDialog.h"

#include "Localization.h"
#include "WindowWalk.h"

#include <wx/textentry.h>
#include <wx/toplevel.h>
#include <wx/window.h>

namespace {

// Control texts are read into the same buffer as language values: 1022 characters.
const size_t kMaxControlText = 1022;

} // namespace

wxString GetControlText(wxWindow *control) {
  if (auto *entry = dynamic_cast<wxTextEntry *>(control))
    return entry->GetValue();
  return control->GetLabel();
}

void SetControlText(wxWindow *control, const wxString &text) {
  if (auto *entry = dynamic_cast<wxTextEntry *>(control))
    entry->ChangeValue(text);
  else
    control->SetLabel(text);
}

void TranslateDialog(wxWindow *window, int dialogId) {
  if (!window)
    return;
  const std::wstring section = L"DIALOG_IDD_" + std::to_wstring(dialogId);
  ForEachDescendant(window, [&](wxWindow *control) {
    if (dialogId != 0) {
      const std::wstring value = ReadLangFileValue(section, std::to_wstring(control->GetId()));
      if (!value.empty())
        SetControlText(control, ConvertLangEscapes(value, false));
    } else {
      std::wstring text = GetControlText(control).ToStdWstring();
      if (text.size() > kMaxControlText)
        text.resize(kMaxControlText);
      SetControlText(control, TranslateByDictionary(text));
    }
  });
  const std::wstring title = LookupLangValue(section, L"title");
  if (title.empty())
    return;
  if (auto *topLevel = dynamic_cast<wxTopLevelWindow *>(window))
    topLevel->SetTitle(title);
  else
    window->SetLabel(title);
}
