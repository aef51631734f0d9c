#pragma once
#include <wx/string.h>

class wxWindow;

// Translates a dialog from its section "DIALOG_IDD_<dialogId>" of the current language file:
// every descendant at every depth takes the value of its control identifier (with "\n" as a
// line break; wx's stock buttons answer to their Windows numbers, OK 1, Cancel 2, …), and the
// window itself the value of "title" as its caption. Controls without a value keep their text.
// Dialog identifier 0 translates every descendant's text through the "DICTIONARY" section
// instead.
void TranslateDialog(wxWindow *window, int dialogId);

// The text a control shows: the contents of an edit or combo box, the label of others.
wxString GetControlText(wxWindow *control);
// Replaces the text a control shows, without sending change notifications.
void SetControlText(wxWindow *control, const wxString &text);
