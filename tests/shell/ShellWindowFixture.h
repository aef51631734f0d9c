#pragma once
#include "BarCommand.h"
#include "Localization.h"
#include "support/FrameTest.h"
#include "support/LangTestFolder.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

// A shown frame per test that records the WM_BAR_COMMAND commands it receives.
class ShellWindowTest : public FrameTest {
protected:
  ShellWindowTest() : FrameTest(wxSize(1000, 700)) {}
  void SetUp() override {
    FrameTest::SetUp();
    m_frame->Bind(WM_BAR_COMMAND, [this](wxCommandEvent &e) {
      m_commands.push_back(e.GetInt());
      m_extra.push_back(e.GetExtraLong());
    });
  }
  static wxPoint Centre(const wxRect &r) { return wxPoint(r.x + r.width / 2, r.y + r.height / 2); }

  std::vector<int> m_commands;
  std::vector<long> m_extra;
};

// A language folder of the test's own with one language "tt"; English again afterwards.
class TestLanguage {
public:
  explicit TestLanguage(const std::string &fileText) {
    m_folder.Write("lang_tt.ini", fileText);
    SelectLanguage(L"tt");
  }

private:
  LangTestFolder m_folder;
};

// Pixel of a bitmap as (r, g, b).
inline wxColour PixelAt(const wxBitmap &bitmap, int x, int y) {
  wxMemoryDC dc;
  dc.SelectObjectAsSource(bitmap);
  wxColour colour;
  dc.GetPixel(x, y, &colour);
  return colour;
}

// Colours print as their components in test failures.
inline void PrintTo(const wxColour &colour, std::ostream *out) {
  *out << "RGB(" << int(colour.Red()) << ", " << int(colour.Green()) << ", " << int(colour.Blue())
       << ")";
}
