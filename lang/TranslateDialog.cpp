#include "TranslateDialog.h"

#include "Localization.h"
#include "WindowWalk.h"

#include <wx/textentry.h>
#include <wx/toplevel.h>
#include <wx/window.h>

namespace {

// Control texts are read into the same buffer as language values: 1022 characters.
const size_t kMaxControlText = 1022;

// The language files key buttons by their Windows identifiers (IDOK 1, IDCANCEL 2, …); wx's
// stock buttons carry identifiers of their own.
int ControlKey(int id) {
  switch (id) {
  case wxID_OK:
    return 1;
  case wxID_CANCEL:
    return 2;
  case wxID_ABORT:
    return 3;
  case wxID_RETRY:
    return 4;
  case wxID_IGNORE:
    return 5;
  case wxID_YES:
    return 6;
  case wxID_NO:
    return 7;
  case wxID_CLOSE:
    return 8;
  case wxID_HELP:
    return 9;
  default:
    return id;
  }
}

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
      const std::wstring value =
          ReadLangFileValue(section, std::to_wstring(ControlKey(control->GetId())));
      if (!value.empty())
        SetControlText(control, ConvertLangEscapes(value, false));
    } else {
      const std::wstring text = GetControlText(control).ToStdWstring();
      // A longer text is no dictionary key; setting its first part back would cut it.
      if (text.size() <= kMaxControlText)
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
