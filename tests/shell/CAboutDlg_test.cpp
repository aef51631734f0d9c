#include "CAboutDlg.h"
#include "ServicesWindowFixture.h"

#include <wx/dcmemory.h>

TEST_F(ServicesWindowTest, AboutBoxTakesThePicturesSizeAndShowsTheVersion) {
  CAboutDlg dialog(m_frame);
  EXPECT_TRUE(dialog.HasPicture());
  EXPECT_EQ(wxSize(504, 315), dialog.GetClientSize());
  EXPECT_EQ("Version:1.90", dialog.GetVersionText());
}

TEST_F(ServicesWindowTest, AboutBoxDrawsTheVersionInLightGreyAt380x45) {
  CAboutDlg dialog(m_frame);
  wxBitmap bitmap(504, 315, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    dialog.Draw(dc);
  }
  const wxImage image = bitmap.ConvertToImage();
  int textPixels = 0, strayPixels = 0;
  for (int y = 0; y < 315; ++y)
    for (int x = 0; x < 504; ++x) {
      const bool grey =
          image.GetRed(x, y) == 240 && image.GetGreen(x, y) == 240 && image.GetBlue(x, y) == 240;
      const bool inTextArea = x >= 380 && x < 504 && y >= 45 && y < 45 + 24;
      textPixels += grey && inTextArea;
      strayPixels += grey && !inTextArea;
    }
  EXPECT_GT(textPixels, 30);
  EXPECT_EQ(0, strayPixels);
}

TEST_F(ServicesWindowTest, AboutBoxClosesOnAClickAndOnEscape) {
  auto *dialog = new CAboutDlg(m_frame);
  dialog->Show();
  SendMouse(dialog, wxEVT_LEFT_DOWN, wxPoint(250, 150));
  EXPECT_FALSE(dialog->IsShown());

  dialog->Show();
  wxKeyEvent escape(wxEVT_CHAR_HOOK);
  escape.m_keyCode = WXK_ESCAPE;
  escape.SetEventObject(dialog);
  dialog->GetEventHandler()->ProcessEvent(escape);
  EXPECT_FALSE(dialog->IsShown());
  dialog->Destroy();
}

TEST_F(ServicesWindowTest, AboutBoxWithoutItsPictureKeepsThePictureSize) {
  TempDir empty;
  ScopedEnv folder("VANTOREL_RESOURCE_FOLDER", empty.path());
  CAboutDlg dialog(m_frame);
  EXPECT_FALSE(dialog.HasPicture());
  EXPECT_EQ(wxSize(504, 315), dialog.GetClientSize());
}
