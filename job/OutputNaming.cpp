// Output naming. Paths use the platform's separator '/'; a '\' is an ordinary character of a
// file name here.
#include "OutputNaming.h"

#include "MergeJob.h"
#include "PathText.h"
#include "SystemFolders.h"
#include "TextCompare.h"

namespace {

const wchar_t kSeparator = L'/';
// Per-row mode looks for free names up to "(2999)".
const int kRowVariantLimit = 3000;

std::wstring WithTrailingSeparator(std::wstring folder) {
  if (folder.empty() || folder.back() != kSeparator)
    folder += kSeparator;
  return folder;
}

// True when the path fits a pszOutPath buffer; otherwise the refusal goes to the job's notes.
bool FitsOutPathBuffer(MergeJob &job, const std::wstring &path) {
  if (path.size() < kOutPathBufferSize)
    return true;
  job.vecNotes.push_back(L"The output path is longer than " +
                         std::to_wstring(kOutPathBufferSize - 1) +
                         L" characters and was not used:\n" + path);
  return false;
}

} // namespace

const wchar_t kAutomaticOutputName[] = L"FirstFileName_LastFileName";

std::wstring GetMergedNameAddition(int32_t nNUp) {
  if (nNUp == 1)
    return L"_2IN1";
  if (nNUp == 2)
    return L"_4IN1";
  return std::wstring();
}

std::wstring GetRowSuffix(int32_t nNUp) {
  if (nNUp == 1)
    return L"_2IN1.pdf";
  if (nNUp == 2)
    return L"_4IN1.pdf";
  return L"_to.pdf";
}

bool EndsWithPdfExtension(const std::wstring &text) {
  return EndsWithNoCase(text, std::wstring(L".pdf"));
}

std::wstring MakeMergedOutputPath(MergeJob &job) {
  const std::wstring folder = WithTrailingSeparator(job.settings.OutputFolder);
  CreateFolderPath(folder);

  std::wstring name = job.settings.strOutputFileName;
  if (EqualsNoCase(name, kAutomaticOutputName) && !job.arrRows.empty()) {
    // The first and last rows name the file whatever their status.
    name = FileTitleOfPath(job.arrRows.front().szFilePath);
    if (job.arrRows.size() > 1)
      name += L"_" + FileTitleOfPath(job.arrRows.back().szFilePath);
    name += GetMergedNameAddition(job.settings.nNUp);
  }

  std::wstring path = folder + name;
  if (!EndsWithPdfExtension(path))
    path += L".pdf";
  const std::wstring stem = path.substr(0, path.size() - 4);
  for (long n = 1; PathExists(path); ++n)
    path = stem + L"(" + std::to_wstring(n) + L").pdf";

  if (!FitsOutPathBuffer(job, path))
    return std::wstring();
  job.WriteOutPath(0, path);
  return path;
}

std::wstring MakeRowOutputPath(MergeJob &job, int nRow, const std::wstring &suffix) {
  job.WriteOutPath(0, job.settings.OutputFolder);
  if (nRow < 0 || static_cast<size_t>(nRow) >= job.arrRows.size())
    return std::wstring();

  const std::wstring folder = WithTrailingSeparator(job.settings.OutputFolder);
  // The folder is made here too: a folder typed in the window that does not exist yet would
  // otherwise fail every row.
  CreateFolderPath(folder);
  const std::wstring &source = job.arrRows[static_cast<size_t>(nRow)].szFilePath;
  const size_t slash = source.rfind(kSeparator);
  const size_t dot = source.rfind(L'.');
  const long g = slash == std::wstring::npos ? -1 : static_cast<long>(slash);
  const long d = dot == std::wstring::npos ? -1 : static_cast<long>(dot);
  if (g >= d) {
    // Without a name to build on the output would be the bare suffix in the current folder.
    job.vecNotes.push_back(L"No output name can be made for:\n" + source);
    return std::wstring();
  }
  const std::wstring base =
      folder + source.substr(static_cast<size_t>(g + 1), static_cast<size_t>(d - g - 1));

  std::wstring path = base + suffix;
  for (int n = 1; PathExists(path); ++n) {
    if (n >= kRowVariantLimit) {
      // Every name is taken: overwriting the last one would destroy a file of the user's.
      job.vecNotes.push_back(L"Every output name up to (" + std::to_wstring(kRowVariantLimit - 1) +
                             L") is taken for:\n" + base + suffix);
      return std::wstring();
    }
    path = base + L"(" + std::to_wstring(n) + L")" + suffix;
  }
  if (!FitsOutPathBuffer(job, path))
    return std::wstring();
  return path;
}
