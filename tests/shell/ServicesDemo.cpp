// Shows one of the service windows, to look at (not a test):
//   services_demo about|upgrade|check|link|question|linkerror
// "check" asks the vendor site that VANTOREL_SITE names, e.g. a local test server.
#include "CAboutDlg.h"
#include "CDlgUpgrade.h"
#include "CHyperLink.h"
#include "CNewVersionDlg.h"
#include "StartupUpdateCheck.h"
#include "VendorSite.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/settings.h>

class ServicesDemo : public wxApp {
public:
  bool OnInit() override {
    const wxString what = argc > 1 ? argv[1] : wxString("about");
    if (what != "link") {
      // On their own: a screen without a window manager paints one top-level window reliably.
      CallAfter([what] {
        if (what == "about")
          CAboutDlg(nullptr).ShowModal();
        else if (what == "upgrade")
          CDlgUpgrade(nullptr).ShowModal();
        else if (what == "check")
          CNewVersionDlg(nullptr).ShowModal();
        else if (what == "question")
          AskForUpgrade(nullptr);
        else if (what == "linkerror")
          ShowLinkError(nullptr, 31);
        wxTheApp->ExitMainLoop();
      });
      return true;
    }
    auto *frame =
        new wxFrame(nullptr, wxID_ANY, "Services demo", wxPoint(20, 20), wxSize(620, 420));
    frame->Show();
    {
      auto *panel = new wxPanel(frame);
      panel->SetBackgroundColour(wxColour(233, 233, 233));
      const wxColour hover = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
      const wxString labels[] = {"Unvisited link (fit to text)", "Visited link", "Hovered link"};
      for (int i = 0; i < 3; ++i) {
        auto *link = new CHyperLink;
        link->SetLinkTarget(GetHomePageUrl());
        link->ApplyLinkColours(wxColour(100, 0, 0), wxColour(20, 20, 255), hover);
        link->Create(panel, wxID_ANY, labels[i], wxPoint(20, 20 + 40 * i), wxSize(400, 30));
        if (i == 1)
          link->ApplyLinkColours(wxColour(20, 20, 255), wxColour(20, 20, 255), hover);
        if (i == 2)
          link->ApplyLinkColours(hover, hover, hover);
      }
      return true;
    }
    return true;
  }
};

wxIMPLEMENT_APP(ServicesDemo);
