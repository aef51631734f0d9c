#pragma once
#include <wx/dialog.h>

class wxStaticBitmap;

// The program's message box: the text beside an icon drawn by the program (the desktop's own
// boxes show none), buttons captioned in the current language (English when the language file
// has no word for them), centred on its parent. A text too long for the screen scrolls. Styles and
// answers are wxMessageBox's: wxOK, wxYES_NO, wxCANCEL and one of wxICON_EXCLAMATION (or
// wxICON_WARNING), wxICON_INFORMATION, wxICON_QUESTION, wxICON_ERROR; the answer is wxOK, wxYES,
// wxNO or wxCANCEL.
class CMessageBox : public wxDialog {
public:
  enum Icon { kNoIcon, kExclamation, kInformation, kQuestion, kError };

  CMessageBox(wxWindow *parent, const wxString &text, const wxString &caption, long style);

  // Runs the box modally; wxOK, wxYES, wxNO or wxCANCEL.
  int ShowBox();

  Icon GetIconKind() const { return m_icon; }
  // The icon as drawn, size x size pixels.
  static wxBitmap DrawIcon(Icon icon, int size);

private:
  void OnButton(wxCommandEvent &event);
  void Centre();

  Icon m_icon;
  long m_style;
};

// Shows a message box and returns the answer.
int ShowMessageBox(wxWindow *parent, const wxString &text, const wxString &caption, long style);
