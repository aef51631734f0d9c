#pragma once
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>

// A shown top-level frame per test, destroyed afterwards; windows under test go in it.
class WxFixture : public ::testing::Test {
protected:
  void SetUp() override {
    m_frame = new wxFrame(nullptr, wxID_ANY, "test", wxPoint(0, 0), wxSize(700, 500));
    m_frame->Show();
  }
  void TearDown() override {
    m_frame->Destroy();
    Yield();
  }
  // Lets pending events (sizes, paints, deletions) run.
  static void Yield() {
    for (int i = 0; i < 5; ++i)
      wxTheApp->Yield(true);
  }
  wxFrame *m_frame = nullptr;
};
