#pragma once
#include <memory>

#include <wx/bitmap.h>
#include <wx/window.h>

struct PageImage;

// The larger view of one sheet: its picture centred on grey with a thin frame, or nothing.
class CSheetView : public wxWindow {
public:
  CSheetView(wxWindow *parent, wxWindowID id);
  void SetImage(const std::shared_ptr<const PageImage> &image);
  const wxBitmap &GetBitmap() const { return m_bitmap; }

private:
  void OnPaint(wxPaintEvent &event);
  wxBitmap m_bitmap;
};
