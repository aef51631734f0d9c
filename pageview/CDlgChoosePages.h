#pragma once
#include <memory>
#include <string>

#include <wx/dialog.h>

class CThumbnailGrid;
class ThumbnailQueue;
class wxButton;
class wxStaticText;
class wxThreadEvent;

// "Choose Pages": the pages of one PDF row as thumbnails in a scrolled grid, to select with
// the mouse and the keyboard or with "Odd", "Even", "All" and "None". The thumbnails are
// rendered by a worker of the dialog's own, nearest the screen first. OK is offered while at
// least one page is selected; the caller then reads the result:
//   CDlgChoosePages dialog(this, path, password, pages, range);
//   if (dialog.ShowModal() == wxID_OK) ... dialog.IsAllPages() / dialog.GetRangeText()
class CDlgChoosePages : public wxDialog {
public:
  enum {
    IDD = 230,
    IDC_GRID = 1201,
    IDC_STATUS = 1202,
    IDC_ODD = 1203,
    IDC_EVEN = 1204,
    IDC_ALL = 1205,
    IDC_NONE = 1206,
  };
  // Thumbnails kept at most, in bytes: a few screens' worth, whatever the document's length.
  static constexpr size_t kCacheBytes = 48u << 20;

  // path and password (UTF-8, empty for none) of the row's PDF, its page count, and its range
  // text (empty: all pages), whose pages start selected.
  CDlgChoosePages(wxWindow *parent, const std::wstring &path, const std::string &password,
                  int pageCount, const std::wstring &range);
  // Stops the worker.
  ~CDlgChoosePages() override;

  // After OK: every page is selected (the row takes all pages), or the range text of the
  // selection in the engine's syntax.
  bool IsAllPages() const;
  std::wstring GetRangeText() const;

  CThumbnailGrid *GetGrid() const { return m_grid; }
  ThumbnailQueue *GetQueue() const { return m_queue.get(); }
  wxStaticText *GetStatusText() const { return m_status; }
  // The renderer's word on the document: -1 until it has opened it (or failed to).
  int GetOpenStatus() const { return m_nOpenStatus; }

private:
  void UpdateStatus();
  void OnSelection(wxCommandEvent &event);
  void OnButton(wxCommandEvent &event);
  void OnOpened(wxThreadEvent &event);
  void OnThumbnail(wxThreadEvent &event);
  void OnCharHook(wxKeyEvent &event);

  CThumbnailGrid *m_grid = nullptr;
  wxStaticText *m_status = nullptr;
  wxButton *m_ok = nullptr;
  std::unique_ptr<ThumbnailQueue> m_queue;
  int m_nOpenStatus = -1;
  std::wstring m_strOpenReason;
};
