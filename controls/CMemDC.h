#pragma once
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/gdicmn.h>

// Off-screen drawing for one paint: drawing goes into a bitmap the size of the clip box and is
// copied to the target in one block when the object goes away, which removes flicker. For a
// printer the drawing goes straight to the target and nothing is copied.
class CMemDC {
public:
  // Covers the target's clip box (the whole target when it has no clipping region).
  explicit CMemDC(wxDC &target);
  // Covers the given rectangle, in the target's logical units (a paint handler passes the
  // bounding box of its update region).
  CMemDC(wxDC &target, const wxRect &rect);
  ~CMemDC();
  CMemDC(const CMemDC &) = delete;
  CMemDC &operator=(const CMemDC &) = delete;

  // The context to draw on, in the target's logical coordinates.
  wxDC &GetDC() { return m_bMemDC ? static_cast<wxDC &>(m_memDC) : *m_pDC; }
  wxDC *operator->() { return &GetDC(); }
  operator wxDC &() { return GetDC(); }

  bool IsMemDC() const { return m_bMemDC; }
  const wxRect &GetRect() const { return m_rect; }

  // True for contexts that print rather than show: those are drawn on directly.
  static bool IsPrinterDC(const wxDC &dc);

private:
  void Init(const wxRect &rect);

  wxBitmap m_bitmap;
  wxMemoryDC m_memDC;
  wxDC *m_pDC;
  wxRect m_rect;
  bool m_bMemDC = false;
};
