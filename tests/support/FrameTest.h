#pragma once
#include "support/WindowEvents.h"

#include <gtest/gtest.h>
#include <wx/event.h>
#include <wx/frame.h>

// A window test: a shown top-level frame per test, destroyed afterwards; the windows under test
// go in it.
class FrameTest : public ::testing::Test {
protected:
  explicit FrameTest(const wxSize &size = wxSize(700, 500)) : m_size(size) {}

  void SetUp() override {
    m_frame = new wxFrame(nullptr, wxID_ANY, "test", wxPoint(0, 0), m_size);
    m_frame->Show();
  }
  void TearDown() override {
    m_frame->Destroy();
    YieldToWindows();
  }
  // Hands window a mouse event at point (its client coordinates) as the display would, without
  // moving the display's pointer.
  static void SendMouse(wxWindow *window, wxEventType type, const wxPoint &point) {
    wxMouseEvent event(type);
    event.SetPosition(point);
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
  }

  wxFrame *m_frame = nullptr;

private:
  wxSize m_size;
};
