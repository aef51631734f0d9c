#pragma once
#include <map>

#include <wx/bitmap.h>
#include <wx/event.h>
#include <wx/scrolwin.h>

#include "GridSelection.h"

class ThumbnailQueue;

// Sent by the grid (a wxCommandEvent) when the user changed its selection.
wxDECLARE_EVENT(wxEVT_THUMBNAIL_SELECTION, wxCommandEvent);

// A scrolled grid of page thumbnails with their page numbers. The pictures come from a
// ThumbnailQueue, which the grid tells which pages are on screen; pages not yet rendered show
// as grey cards. Click, Shift+click, Ctrl+click, the arrow keys, Home, End, Page Up, Page Down,
// Space and Ctrl+A select pages (in single mode: one page, as a list does).
class CThumbnailGrid : public wxScrolledCanvas {
public:
  // The box a thumbnail is fitted into, in pixels.
  static constexpr int kThumbWidth = 120;
  static constexpr int kThumbHeight = 150;

  CThumbnailGrid(wxWindow *parent, wxWindowID id, int pageCount, bool multiple);

  // The pictures' source (null: none yet, or none to come).
  void SetQueue(ThumbnailQueue *queue);
  void SetPageCount(int pageCount);
  int GetPageCount() const { return m_selection.Count(); }
  // A thumbnail arrived: its cell is drawn again if it is on screen.
  void ThumbnailArrived(int page);

  GridSelection &Selection() { return m_selection; }
  // After the selection was changed from outside: redraws and keeps the focus in view.
  void SelectionChanged();

  // A cell's rectangle in the grid's scrolled (virtual) coordinates.
  wxRect CellRect(int index) const;
  // The page under a point of the window, or -1.
  int HitTest(const wxPoint &clientPoint) const;
  // Scrolls so that the page's cell is on screen.
  void EnsureVisible(int index);
  // First and last page at least partly on screen; false when none is.
  bool GetVisibleRange(int *first, int *last) const;
  int GetColumns() const;
  // Bitmaps converted for the screen that the grid keeps (those near the screen only).
  size_t GetBitmapCount() const { return m_bitmaps.size(); }
  // Draws what the window shows (the cells on screen) into dc, the size of the client area.
  void PaintTo(wxDC &dc);

private:
  void UpdateVirtualSize();
  void TellQueue();
  void Notify();
  void DrawCell(wxDC &dc, int index, const wxRect &cell);

  void OnPaint(wxPaintEvent &event);
  void OnSize(wxSizeEvent &event);
  void OnLeftDown(wxMouseEvent &event);
  void OnKeyDown(wxKeyEvent &event);
  void OnScroll(wxScrollWinEvent &event);
  void OnFocus(wxFocusEvent &event);

  GridSelection m_selection;
  bool m_bMultiple;
  ThumbnailQueue *m_pQueue = nullptr;
  std::map<int, wxBitmap> m_bitmaps; // page -> converted thumbnail, pruned to near the screen
  int m_nToldFirst = -2, m_nToldLast = -2;
};
