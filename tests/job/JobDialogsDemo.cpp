// Shows one of the merge job's dialogs, to look at (not a test):
//   job_dialogs_demo progress|range|password|message|question|report [LANGUAGE] [PDF]
// The progress dialog shows 42% of a run that never ends; the page range dialog shows a
// refused page list; the password dialog a refused password; the message boxes a warning and the
// update question; the report a run of PDF (into /tmp) beside an unreadable and a locked row.
#include "CDlgChangePageRange.h"
#include "CDlgMergeProgress.h"
#include "CDlgSourcePassword.h"
#include "LangMessageBox.h"
#include "Localization.h"
#include "MergerTool.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

namespace {

// Keeps the dialog open: the worker's finished notice is dropped, a progress notice is faked.
class FrozenProgress : public CDlgMergeProgress {
public:
  using CDlgMergeProgress::CDlgMergeProgress;

protected:
  void PostMergeNotice(const MergeNotice &notice) override {
    if (notice.nMessage != WM_MERGE_FINISHED)
      CDlgMergeProgress::PostMergeNotice(notice);
  }
};

// A real run whose result is not shown in the file manager.
class ReportProgress : public CDlgMergeProgress {
public:
  using CDlgMergeProgress::CDlgMergeProgress;

protected:
  void ShowResult(const std::wstring &) override {}
};

class DemoApp : public wxApp {
public:
  bool OnInit() override {
    const wxString which = argc > 1 ? argv[1] : wxString("progress");
    auto *frame = new wxFrame(nullptr, wxID_ANY, "Vantorel", wxPoint(0, 0), wxSize(700, 500));
    frame->Show();
    if (argc > 2)
      SelectLanguage(argv[2].ToStdWstring());
    if (which == "password") {
      CallAfter([frame] {
        CDlgSourcePassword dialog(frame, "annual report 2025.pdf");
        dialog.onCheck = [&dialog](const wxString &) { dialog.Answer(false, LoadLangString(234)); };
        dialog.CallAfter([&dialog] { dialog.Confirm(); });
        dialog.ShowModal();
      });
    } else if (which == "message") {
      CallAfter([frame] {
        ShowMessageBox(frame, LoadLangString(232), "Tessary Zuzu VOR Adazev",
                       wxOK | wxICON_EXCLAMATION);
      });
    } else if (which == "question") {
      CallAfter([frame] {
        ShowMessageBox(frame, LoadLangString(150), LoadLangString(151), wxYES_NO | wxICON_QUESTION);
      });
    } else if (which == "report") {
      const std::wstring pdf = argc > 3 ? argv[3].ToStdWstring() : std::wstring();
      CallAfter([frame, pdf] {
        std::vector<_stru_ItemData_> rows(3);
        for (auto &row : rows)
          row.pszOutPath = std::make_shared<std::wstring>();
        rows[0].szFilePath = pdf;
        rows[0].nTotalPage = MergerTool::GetPdfInfo(pdf.c_str());
        rows[1].szFilePath = L"/home/ada/notes.pdf";
        rows[1].nStatus = STATUS_LOAD_FAILED;
        rows[1].strReadProblem = L"not a PDF (the file does not start as a PDF does)";
        rows[2].szFilePath = L"/home/ada/salaries.pdf";
        rows[2].nStatus = STATUS_LOAD_FAILED;
        rows[2].nReadState = READ_NEEDS_PASSWORD;
        CFSMSettings settings;
        settings.OutputFolder = L"/tmp/vantorel-report-demo";
        settings.strOutputFileName = L"report";
        settings.bMergeOn = 1;
        ReportProgress dialog(frame, rows, settings);
        dialog.ShowModal();
      });
    } else if (which == "range") {
      CallAfter([frame] {
        CDlgChangePageRange dialog(frame);
        dialog.nTotalPages = 20;
        dialog.nMode = 1;
        dialog.strRange = "1, 3, 4, 9-11, 25";
        dialog.CallAfter([&dialog] { dialog.TryAccept(); });
        dialog.ShowModal();
      });
    } else {
      auto *dialog = new FrozenProgress(frame, {}, CFSMSettings());
      dialog->Show();
      MergeNotice notice;
      notice.nMessage = WM_MERGE_PROGRESS;
      notice.lParam = 42;
      dialog->CallAfter([dialog, notice] {
        wxThreadEvent event(wxEVT_MERGE_PROGRESS, WM_MERGE_PROGRESS);
        event.SetExtraLong(notice.lParam);
        dialog->GetEventHandler()->ProcessEvent(event);
      });
    }
    return true;
  }
};

} // namespace

wxIMPLEMENT_APP_NO_MAIN(DemoApp);

int main(int argc, char **argv) { return wxEntry(argc, argv); }
