// Localisation benchmark: translating a dialog of 60 controls, where every control costs one
// read of the language file (the engine keeps no cache), and LoadLangString alone.
// Prints the time per dialog and per string; the goal is well under 20 ms per dialog.
#include "Localization.h"
#include "TranslateDialog.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/init.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int kControls = 60;
const int kDialogId = 900;

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void Report(const char *what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  double sum = 0;
  for (double t : times)
    sum += t;
  std::printf("%-34s runs %5zu  mean %8.3f ms  median %8.3f ms  max %8.3f ms\n", what, times.size(),
              sum / times.size(), times[times.size() / 2], times.back());
}

} // namespace

int main(int argc, char **argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "translate_dialog_bench needs a display\n");
    return 1;
  }
  // The shipped German file with one more section for the benchmark dialog, at its end: the
  // lookup scans the whole file for every control.
  const std::string folder = "/tmp/vantorel-lang-bench";
  std::system(("mkdir -p " + folder).c_str());
  std::ifstream shipped(std::string(std::getenv("LANG_SOURCE")) + "/lang_de.ini");
  std::ostringstream file;
  file << shipped.rdbuf() << "\n[DIALOG_IDD_" << kDialogId << "]\n";
  for (int i = 0; i < kControls; ++i)
    file << 1000 + i
         << "=\xC3\x9C"
            "bersetzter Text Nummer "
         << i << "\\nzweite Zeile\n";
  file << "title=\xC3\x9C"
          "bersetzter Titel\n";
  std::ofstream(folder + "/lang_de.ini") << file.str();
  setenv("VANTOREL_LANG_FOLDER", folder.c_str(), 1);
  SelectLanguage(L"de");
  std::printf("language file: %zu bytes, dialog of %d controls\n", file.str().size(), kControls);

  auto *dialog = new wxDialog(nullptr, wxID_ANY, wxT("Benchmark"));
  for (int i = 0; i < kControls; ++i) {
    const int id = 1000 + i;
    switch (i % 4) {
    case 0:
      new wxStaticText(dialog, id, wxT("Label"));
      break;
    case 1:
      new wxButton(dialog, id, wxT("Button"));
      break;
    case 2:
      new wxCheckBox(dialog, id, wxT("Check"));
      break;
    default:
      new wxTextCtrl(dialog, id, wxT("Edit"));
      break;
    }
  }

  std::vector<double> dialogTimes, stringTimes;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    TranslateDialog(dialog, kDialogId);
    dialogTimes.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
  }
  for (int r = 0; r < runs * 10; ++r) {
    const auto start = std::chrono::steady_clock::now();
    LoadLangString(224);
    stringTimes.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
  }
  Report("TranslateDialog (60 controls)", dialogTimes);
  Report("LoadLangString (last STRING key)", stringTimes);
  dialog->Destroy();
  wxEntryCleanup();
  return 0;
}
