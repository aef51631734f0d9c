#pragma once
#include "support/WindowEvents.h"

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
    YieldToWindows();
  }
  wxFrame *m_frame = nullptr;
};
