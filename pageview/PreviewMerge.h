#pragma once
#include <memory>
#include <string>
#include <vector>

#include "CFSMSettings.h"
#include "HeldFolder.h"
#include "ItemData.h"
#include "MergeMessages.h"

struct MergeJob;

// What a preview shows the sheets of: the rows and settings that Build would merge now.
struct PreviewInputs {
  std::vector<_stru_ItemData_> rows;
  CFSMSettings settings;
};

// True when both inputs make the same sheets: the same rows (path, range, password, status,
// page count) in the same order, and the same paper, pages per sheet, orientation and merge
// switch. Output names and protection do not change a sheet.
bool MakeSameSheets(const PreviewInputs &a, const PreviewInputs &b);

// The merge of a preview: the very job Build runs, on the job's worker thread, with the output
// going to a folder of its own in the program's temporary folder. The rows' buffers are copied,
// so nothing reaches the main window's rows; protection is left off, since it changes no sheet
// and a preview need not be opened with a password. The folder and what is in it are removed
// by RemoveFiles and when the object goes; those a crash left behind, by the next preview.
class PreviewMerge {
public:
  // notify receives the job's notices on the worker's thread (see MergeNotifySink) and must
  // outlive the worker. tmpFolder is the program's temporary folder.
  PreviewMerge(MergeNotifySink *notify, const PreviewInputs &inputs, const std::wstring &tmpFolder);
  ~PreviewMerge();
  PreviewMerge(const PreviewMerge &) = delete;
  PreviewMerge &operator=(const PreviewMerge &) = delete;

  // Makes the folder and starts the worker. False when either failed; nothing is posted then.
  bool Start();
  // Asks the worker to stop at the engine's next check; the finished notice still comes.
  void Cancel();
  // After the finished notice: the files the run wrote, in the order Build writes them (one, or
  // one per row with the merge switch off).
  std::vector<std::wstring> Outputs();
  // Waits for the worker and removes the folder with everything in it.
  void RemoveFiles();
  // The folder of this preview's files; empty before Start.
  const std::wstring &Folder() const { return m_folder.Path(); }

private:
  MergeNotifySink *m_pNotify;
  PreviewInputs m_inputs;
  std::wstring m_strTmpFolder;
  HeldFolder m_folder; // held while it lasts, so that no other run takes it for abandoned
  std::shared_ptr<MergeJob> m_pJob;
};
