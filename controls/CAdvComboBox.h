#pragma once
#include <cstdint>
#include <list>
#include <vector>

#include <wx/ctrlsub.h>
#include <wx/event.h>
#include <wx/font.h>
#include <wx/timer.h>
#include <wx/window.h>

class CAdvComboEdit;
class CDropWnd;

// One choice of the advanced combo box: its text, whether it can be picked, and two data words.
struct ListItemData {
  std::wstring strText;
  bool bDisabled = false; // skipped by key navigation, cannot be picked
  std::uint32_t dwItemData = 0;
  std::uint32_t vpItemData = 0;
};
using ChoiceList = std::list<ListItemData>;

// Notification codes, sent to the parent as wxEVT_ADVCOMBO_NOTIFY command events: the code in
// GetInt(), the box's id in GetId(), the box as the event object.
enum AdvComboNotify {
  CBN_SELCHANGE = 1,
  CBN_SETFOCUS = 3,
  CBN_KILLFOCUS = 4,
  CBN_EDITCHANGE = 5,
  CBN_EDITUPDATE = 6,
  CBN_DROPDOWN = 7,
  CBN_CLOSEUP = 8,
  CBN_SELENDOK = 9,
  CBN_SELENDCANCEL = 10,
};
wxDECLARE_EVENT(wxEVT_ADVCOMBO_NOTIFY, wxCommandEvent);

// The two styles: with an edit box of its own, or a list to choose from only.
enum { CBS_DROPDOWN = 2, CBS_DROPDOWNLIST = 3 };
// Behaviour flags.
enum {
  ADVCOMBO_INSETEDIT = 2,    // the edit box sits inset in the face
  ADVCOMBO_WIDENCHOICES = 4, // every measured choice is 14 pixels wider in the drop-down
  ADVCOMBO_AUTOCOMPLETE = 8, // the edit box completes typed text from the choices
  ADVCOMBO_AUTOSUGGEST = 16, // typing opens a drop-down of the matching choices
};
// Child window ids.
enum { IDC_COMBOEDIT = 108, IDC_DROPWND = 6, IDC_SCROLLBAR = 100, IDC_DROPLIST = 101 };

// A combo box drawn and run by ourselves: its own choices (some may be disabled), its face and
// drop button, an optional edit box with completion, and a drop-down window of its own with a
// list, a scroll bar and a size grip. The combo-box messages it answers are member functions
// with the same results; as a wxItemContainerImmutable it also serves code written for wx.
class CAdvComboBox : public wxWindow, public wxItemContainerImmutable {
public:
  // parent receives the notifications; null means the window's parent, once created.
  explicit CAdvComboBox(wxWindow *parent = nullptr, wxWindow *combo = nullptr);
  ~CAdvComboBox() override;
  // cbStyle is CBS_DROPDOWN or CBS_DROPDOWNLIST. The choices come from the built-in string whose
  // id equals the control id (newline-separated), when there is one.
  bool Create(wxWindow *parent, wxWindowID id, const wxRect &rect, int cbStyle = CBS_DROPDOWNLIST,
              long style = 0);

  // --- the combo-box messages
  // Appends a choice; returns its index.
  int AddString(const wxString &text);
  // -1 clears the selection and the text (returns -1); a valid index selects it (returns it);
  // anything else returns -1.
  int SetCurSel(int index);
  // The first choice whose text equals the current text (the edit text when there is an edit
  // box), case-sensitive; -1 if none.
  int GetCurSel() const;
  // Selects the first choice equal to text from start (-1 = from the beginning); -1 if none.
  int SelectString(int start, const wxString &text);
  // The first choice equal to text from start (-1 = from the beginning), or -1.
  int FindStringExact(int start, const wxString &text) const;
  // Removes every choice, empties the text; returns 0.
  int ResetContent();
  // Copies choice index's text into text; returns its length + 1, or -1.
  int GetLBText(int index, wxString &text) const;
  int GetLBTextLen(int index) const;
  // Forwarded to the open drop-down's list; -1 when closed.
  int GetTopIndex() const;
  int SetTopIndex(int index);

  // --- wxItemContainerImmutable
  unsigned int GetCount() const override;
  wxString GetString(unsigned int n) const override;
  void SetString(unsigned int n, const wxString &text) override;
  void SetSelection(int n) override { SetCurSel(n); }
  int GetSelection() const override { return GetCurSel(); }

  // --- choice records
  int SetItemDisabled(int index, bool disabled);
  bool IsItemDisabled(int index) const;
  const ChoiceList &GetChoices() const { return m_list; }

  // --- the private messages: pick (0x401), close (0x402), open or close (0x465)
  void PickChoice(int index);
  void CloseDropDown();
  void ToggleDropDown();

  // --- settings and state
  int GetComboStyle() const { return m_nStyle; }
  void SetBehaviour(int flags) { m_dwACBStyle = flags; }
  int GetBehaviour() const { return m_dwACBStyle; }
  // The most rows the drop-down shows; -1 = no limit.
  void SetMaxVisibleItems(int rows) { m_nMaxVisItems = rows; }
  int GetMaxVisibleItems() const { return m_nMaxVisItems; }
  // Fewer rows than this fitting below the box opens the drop-down above it.
  void SetMinVisibleItems(int rows) { m_nMinVisItems = rows; }
  bool IsDroppedDown() const { return m_pDropWnd != nullptr; }
  CDropWnd *GetDropWnd() const { return m_pDropWnd; }
  CAdvComboEdit *GetEditCtrl() const { return m_pEdit; }
  wxString GetCurText() const { return m_strEdit; }
  wxRect GetButtonRect() const;
  bool IsButtonHot() const { return m_bHot; }
  // The choices the open drop-down shows (all, or the filtered suggestions).
  const ChoiceList *GetDropList() const;

  // --- input, also used by the edit box and the drop-down
  // Handles a key of the table; false when the key is not one of them.
  bool HandleKey(int keyCode, bool alt);
  void HandleWheel(int rotation);
  void OnEditTextChanged();
  void OnEditSetFocus();
  void OnEditKillFocus(wxWindow *gaining);
  // The part that moves the selection while closed; step is +/-1 or +/-10.
  void MoveSelection(int step);
  // Runs completion on the edit text (Right arrow at its end).
  void RunCompletion();

  // True once the box is going away (its destructor runs, or Destroy was called).
  bool IsClosing() const { return m_bDying || IsBeingDeleted(); }

  // Sends a notification to the parent, when there is one.
  void Notify(int code);

protected:
  // Called on Escape with no drop-down open and whenever the box loses the focus.
  virtual void OnEscapeKey() {}
  // Called on Enter and when asked to close while no drop-down is open.
  virtual void OnComboComplete() {}

  // Makes the drop-down window for the choices it shows (not yet created).
  virtual CDropWnd *NewDropWnd(const ChoiceList &list, int flags);

  // Runs the escape hook; CXCombo adds its own rule.
  virtual void OnKillFocus(wxFocusEvent &event);

private:
  void CreateEditBox();
  void OpenDropDown(const ChoiceList &list, int selection);
  void DestroyDropDown();
  void LoadChoicesFromResource(int id);
  ListItemData *ItemAt(int index);
  const ListItemData *ItemAt(int index) const;
  void SetTextFromSelection();
  void SetEditText(const wxString &text);
  int DropRowHeight();
  void OnActivateApp(wxActivateEvent &event);

  void OnPaint(wxPaintEvent &event);
  void OnSize(wxSizeEvent &event);
  void OnSetFocus(wxFocusEvent &event);
  void OnLeftDown(wxMouseEvent &event);
  void OnMotion(wxMouseEvent &event);
  void OnWheel(wxMouseEvent &event);
  void OnKeyDown(wxKeyEvent &event);
  void OnChar(wxKeyEvent &event);
  void OnHoverTimer(wxTimerEvent &event);

public:
  bool Enable(bool enable = true) override;

private:
  wxWindow *m_pParent;
  wxWindow *m_pCombo; // kept, no further use
  wxString m_strEdit;
  int m_nCurSel = -1;
  ChoiceList m_list;
  ChoiceList m_suggestList; // the filtered choices the drop-down shows while typing
  bool m_bShowingSuggestions = false;
  CAdvComboEdit *m_pEdit = nullptr;
  CDropWnd *m_pDropWnd = nullptr;
  wxFont m_font;
  int m_dwACBStyle = ADVCOMBO_INSETEDIT;
  bool m_bHot = false;
  wxTimer m_hoverTimer;
  bool m_bHasFocus = false;
  bool m_bHasSentFocus = false;
  bool m_bSelItem = false; // a choice was just picked in the drop-down
  bool m_bFirstPaint = true;
  bool m_bAutoAppend = true; // completion allowed; Backspace and Delete clear it
  bool m_bInCompletion = false;
  bool m_bAppActiveBound = false;
  bool m_bDying = false; // in the destructor
  int m_zDelta = 0;
  int m_nMinVisItems = 5;
  int m_nMaxVisItems = -1;
  int m_nStyle = CBS_DROPDOWNLIST;

  wxDECLARE_EVENT_TABLE();
};
