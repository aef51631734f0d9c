#include "CVantorelApp.h"

#include "CVantorelDlg.h"

#include <wx/image.h>

wxIMPLEMENT_APP(CVantorelApp);

bool CVantorelApp::OnInit() {
  // wxApp::OnInit would parse the command line; the program takes no arguments and ignores
  // whatever it is given.
  wxInitAllImageHandlers();
  SetAppName(wxT("vantorel"));
  SetAppDisplayName(CVantorelDlg::kTitle);
  return true;
}

int CVantorelApp::OnRun() {
  {
    CVantorelDlg dialog;
    m_pMainDlg = &dialog;
    SetTopWindow(&dialog);
    dialog.ShowModal();
    dialog.ShutDown();
    SetTopWindow(nullptr);
    m_pMainDlg = nullptr;
  }
  return 0;
}
