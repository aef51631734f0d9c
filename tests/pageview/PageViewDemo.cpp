// Shows one of the windows, to look at (not a test):
//   pageview_demo choose|preview FILE.pdf [LANGUAGE]
// Choose Pages starts with pages 2-4 and 9 selected; the preview merges the file two per sheet
// on A4, into the system's temporary folder.
#include "CDlgChoosePages.h"
#include "CDlgPreviewSheets.h"
#include "Localization.h"
#include "PageRenderer.h"

#include <wx/app.h>
#include <wx/frame.h>

namespace {

class DemoApp : public wxApp {
public:
  bool OnInit() override {
    if (argc < 3)
      return false;
    const wxString which = argv[1];
    const std::wstring path = argv[2].ToStdWstring();
    SelectLanguage(argc > 3 ? argv[3].ToStdWstring() : L"en");
    PageRenderer renderer;
    renderer.Open(path, "");
    const int pages = renderer.PageCount();
    auto *frame = new wxFrame(nullptr, wxID_ANY, "Vantorel", wxPoint(0, 0), wxSize(300, 200));
    frame->Show();
    if (which == "choose") {
      auto *dialog = new CDlgChoosePages(frame, path, "", pages, L"2-4, 9");
      dialog->Show();
    } else {
      PreviewInputs inputs;
      _stru_ItemData_ row;
      row.szFilePath = path;
      row.nTotalPage = pages;
      row.pszOutPath = std::make_shared<std::wstring>();
      inputs.rows.push_back(row);
      inputs.settings.nPaperSize = 1;
      inputs.settings.nNUp = 1;
      inputs.settings.bMergeOn = 1;
      auto *dialog = new CDlgPreviewSheets(
          frame, [inputs] { return inputs; }, L"/tmp/vantorel-demo");
      dialog->Show();
    }
    return true;
  }
};

} // namespace

wxIMPLEMENT_APP(DemoApp);
