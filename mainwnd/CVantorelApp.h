#pragma once
#include <wx/app.h>

class CVantorelDlg;

// The application: its only window is the main window, run modally; the process ends when that
// window closes. Command-line arguments are ignored, and every started copy opens a window of
// its own.
class CVantorelApp : public wxApp {
public:
  // Prepares the process (picture formats, the application's names).
  bool OnInit() override;
  // Runs the main window until it closes; the exit code is 0.
  int OnRun() override;

  // The main window while it runs, else null.
  CVantorelDlg *GetMainDlg() const { return m_pMainDlg; }

private:
  CVantorelDlg *m_pMainDlg = nullptr;
};

wxDECLARE_APP(CVantorelApp);
