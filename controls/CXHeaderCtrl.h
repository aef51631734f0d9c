#pragma once
#include <vector>

#include <wx/bitmap.h>
#include <wx/imaglist.h>
#include <wx/window.h>

#include "controls/Colors.h"

class CXListCtrl;

// Column format bits of a header item.
enum : int {
  HDF_LEFT = 0x0000,
  HDF_RIGHT = 0x0001,
  HDF_CENTER = 0x0002,
  HDF_JUSTIFYMASK = 0x0003,
  HDF_BITMAP = 0x2000,
  HDF_STRING = 0x4000,
  HDF_OWNERDRAW = 0x8000,
};

// One column of the header.
struct HeaderItem {
  wxString text;
  int width = 0;
  int fmt = HDF_LEFT | HDF_STRING;
  wxBitmap bitmap; // drawn at the right edge when fmt has HDF_BITMAP
  int image = 0;   // 0 no check box, 1 unchecked, 2 checked (an index into the image list)
};

// The owner-painted header of the extended list: items with dividers and a frame, an optional
// check box per column, painted off-screen. Dragging a divider resizes its column; a click on an
// item is a column click of the list, and a double click counts as a second press.
class CXHeaderCtrl : public wxWindow {
public:
  CXHeaderCtrl();
  bool Create(CXListCtrl *list, wxWindowID id = wxID_ANY);

  int GetItemCount() const { return static_cast<int>(m_items.size()); }
  // Inserts before index (appends when index is past the end); returns the new index, -1 if
  // index is negative.
  int InsertItem(int index, const HeaderItem &item);
  bool DeleteItem(int index);
  // The item, or null for an invalid index.
  const HeaderItem *GetItem(int index) const;
  bool SetItem(int index, const HeaderItem &item);
  bool SetItemText(int index, const wxString &text);
  bool SetItemWidth(int index, int width);
  bool SetItemImage(int index, int image);
  // Display position to item index (columns are not reordered, so positions are indexes).
  int OrderToIndex(int order) const { return order; }
  // Left edge of the item in the list's content coordinates (not scrolled), -1 when invalid.
  int GetItemLeft(int index) const;
  int GetTotalWidth() const;
  // The item's rectangle in this window's client coordinates (scrolled with the list).
  wxRect GetItemRect(int index) const;

  // The item under a point of this window, or -1.
  int HitTestItem(const wxPoint &pt) const;
  // The item whose right edge (divider) is within a few pixels of the point, or -1.
  int HitTestDivider(const wxPoint &pt) const;

  void SetScrollOffset(int x);
  int GetScrollOffset() const { return m_scrollX; }

  void SetImageList(wxImageList *images); // not owned
  wxImageList *GetImageList() const { return m_pImageList; }
  int GetSpacing() const { return m_nSpacing; }
  void SetSpacing(int spacing) { m_nSpacing = spacing; }
  void SetTextColor(COLORREF color) { m_crText = color; }
  COLORREF GetTextColor() const { return m_crText; }
  void SetAlignmentOverride(int fmt) { m_nFormat = fmt; } // -1 = each column's own
  void EnableDividerLines(bool enable) { m_bDividerLines = enable; }
  void SetDoubleBuffer(bool enable) { m_bDoubleBuffer = enable; }
  void SetStaticBorder(bool enable) { m_bStaticBorder = enable; }
  bool GetStaticBorder() const { return m_bStaticBorder; }
  // Re-reads the three-dimensional colours from the system.
  void SysColorChange();

  // Paints the header onto dc inside clip (this window's coordinates).
  void DrawHeader(wxDC &dc, const wxRect &clip);
  // Height the header wants for its font.
  int GetBestHeight() const;

protected:
  // Draws an item whose format has HDF_OWNERDRAW; the default draws nothing.
  virtual void DrawOwnerItem(wxDC &dc, int index, const wxRect &rect);

private:
  void DrawItem(wxDC &dc, const HeaderItem &item, wxRect rect);
  void DrawCheck(wxDC &dc, const wxRect &box, bool checked);

  void OnPaint(wxPaintEvent &event);
  void OnEraseBackground(wxEraseEvent &event);
  void OnSysColourChanged(wxSysColourChangedEvent &event);
  void OnLeftDown(wxMouseEvent &event);
  void OnLeftDClick(wxMouseEvent &event);
  void OnLeftUp(wxMouseEvent &event);
  void OnMotion(wxMouseEvent &event);
  void OnCaptureLost(wxMouseCaptureLostEvent &event);

  CXListCtrl *m_pListCtrl = nullptr;
  int m_nFormat = -1;
  COLORREF m_crText;
  bool m_bDividerLines = true;
  bool m_bDoubleBuffer = true;
  bool m_bStaticBorder = false;
  int m_nSpacing = 6;
  int m_iconWidth = 0, m_iconHeight = 0;
  COLORREF m_cr3DHighLight, m_cr3DShadow, m_cr3DFace, m_crBtnText;

  std::vector<HeaderItem> m_items;
  wxImageList *m_pImageList = nullptr;
  int m_scrollX = 0;
  int m_dragItem = -1; // column whose divider is being dragged
  int m_dragStartX = 0, m_dragStartWidth = 0;

  wxDECLARE_EVENT_TABLE();
};
