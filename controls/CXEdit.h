#pragma once
#include <wx/font.h>
#include <wx/textctrl.h>

class CXListCtrl;

// The one-line edit box the extended list lays over a cell. Enter or the loss of the focus
// reports the end to the list, Escape the cancel; whichever comes first is the only report.
class CXEdit : public wxTextCtrl {
public:
  CXEdit(CXListCtrl *list, const wxString &initialText);
  // Creates the box as a child of parent (the list when none was given) with id 99.
  bool Create(wxWindow *parent, const wxRect &rect, long style);

  bool HasSentMessage() const { return m_bMessageSent; }
  // Enter (13) and Escape (27), as the key and character handlers see them.
  void HandleEndKey(int key);

private:
  // Sends one of the two notifications to the list, only once and only to a live list.
  void SendToList(wxEventType type);
  void OnKeyDown(wxKeyEvent &event);
  void OnChar(wxKeyEvent &event);
  void OnKillFocus(wxFocusEvent &event);

  CXListCtrl *m_pXListCtrl;
  wxString m_strInitText;
  bool m_bMessageSent = false;
  wxFont m_font; // ours, released with the box
};
