#include "controls/CMemDC.h"

#include <wx/dcprint.h>
#include <wx/dcps.h>

bool CMemDC::IsPrinterDC(const wxDC &dc) {
  if (dynamic_cast<const wxPrinterDC *>(&dc))
    return true;
#if wxUSE_POSTSCRIPT
  if (dynamic_cast<const wxPostScriptDC *>(&dc))
    return true;
#endif
  return false;
}

CMemDC::CMemDC(wxDC &target) : m_pDC(&target) {
  wxRect clip;
  target.GetClippingBox(clip);
  if (clip.IsEmpty()) {
    // No clipping region: the whole target, from its logical origin.
    wxSize size = target.GetSize();
    clip = wxRect(target.DeviceToLogicalX(0), target.DeviceToLogicalY(0),
                  target.DeviceToLogicalXRel(size.x), target.DeviceToLogicalYRel(size.y));
  }
  Init(clip);
}

CMemDC::CMemDC(wxDC &target, const wxRect &rect) : m_pDC(&target) { Init(rect); }

void CMemDC::Init(const wxRect &rect) {
  m_rect = rect;
  if (IsPrinterDC(*m_pDC) || rect.width <= 0 || rect.height <= 0) {
    // Printers are drawn on directly; an empty area has nothing to buffer either.
    m_bMemDC = false;
    return;
  }
  m_bMemDC = true;
  m_bitmap.Create(rect.width, rect.height, *m_pDC);
  m_memDC.SelectObject(m_bitmap);
  // Callers draw in the target's logical coordinates: the bitmap's corner is the rect's corner.
  m_memDC.SetDeviceOrigin(-rect.x, -rect.y);
  m_memDC.SetFont(m_pDC->GetFont());
  m_memDC.SetTextForeground(m_pDC->GetTextForeground());
  m_memDC.SetTextBackground(m_pDC->GetTextBackground());
}

CMemDC::~CMemDC() {
  if (!m_bMemDC)
    return;
  m_pDC->Blit(m_rect.x, m_rect.y, m_rect.width, m_rect.height, &m_memDC, m_rect.x, m_rect.y);
  m_memDC.SelectObject(wxNullBitmap);
}
