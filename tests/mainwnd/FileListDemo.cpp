// Shows the file list with PDF rows, picture rows, a failed row, a custom range and a
// selection, for looking at it (tools/shot). Page counts come from a table, not from files.
//   filelist_demo [focus]
#include <map>
#include <string>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/sizer.h>

#include "CFileList.h"

class DemoApp : public wxApp {
public:
  bool OnInit() override {
    auto *frame = new wxFrame(nullptr, wxID_ANY, "File list", wxPoint(20, 20), wxSize(760, 420));
    frame->SetBackgroundColour(wxColour(233, 233, 233));
    auto *list = new CXListCtrl(frame, wxID_ANY, wxPoint(10, 10), wxSize(720, 330));
    // Page counts from a table; "locked.pdf" needs a password, "waiting.pdf" is still read.
    m_files = new CFileList(list, [this](const _stru_ItemData_ &record) {
      static const std::map<std::wstring, int32_t> pages = {
          {L"/home/ada/Reports/annual report 2025.pdf", 48},
          {L"/home/ada/Reports/invoice-0042.pdf", 2},
          {L"/home/ada/Scans/contract signed.PDF", 7},
          {L"/home/ada/Downloads/locked.pdf", -1}};
      if (record.szFilePath == L"/home/ada/Downloads/waiting.pdf")
        return;
      auto it = pages.find(record.szFilePath);
      m_files->TakeReadAnswer(record.nItemID, it == pages.end() ? -1 : it->second,
                              record.szFilePath == L"/home/ada/Downloads/locked.pdf");
    });
    m_files->SetupColumns();
    for (const wchar_t *path :
         {L"/home/ada/Reports/annual report 2025.pdf", L"/home/ada/Pictures/holiday.jpg",
          L"/home/ada/Reports/invoice-0042.pdf", L"/home/ada/Downloads/locked.pdf",
          L"/home/ada/Pictures/diagram with a rather long file name for the column.png",
          L"/home/ada/Scans/contract signed.PDF", L"/home/ada/Pictures/scan.tiff",
          L"/home/ada/Downloads/waiting.pdf"})
      m_files->AppendFile(path);
    m_files->SetPageRange(5, L"1, 3-4, 7");
    list->SetCurSel(2, true);
    frame->Show();
    if (argc > 1 && wxString(argv[1]) == "focus")
      list->SetFocus();
    return true;
  }
  int OnExit() override {
    delete m_files;
    return wxApp::OnExit();
  }

private:
  CFileList *m_files = nullptr;
};

wxIMPLEMENT_APP(DemoApp);
