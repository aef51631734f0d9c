#include "LinkOpening.h"

#include "ShellOpen.h"

#include <algorithm>

namespace {

const wchar_t *const kPlaceholders[] = {L"%1", L"%u", L"%U"};

struct CodeMessage {
  int code;
  const wchar_t *message;
};

const CodeMessage kMessages[] = {
    {0, L"The operating system is out\nof memory or resources."},
    {2, L"The specified file was not found."},
    {3, L"The specified path was not found."},
    {5, L"The operating system denied\naccess to the specified file."},
    {8, L"There was not enough memory to complete the operation."},
    {11, L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, L"A sharing violation occurred. "},
    {27, L"The filename association is\nincomplete or invalid."},
    {28, L"The DDE transaction could not\nbe completed because the request timed out."},
    {29, L"The DDE transaction failed."},
    {30, L"The DDE transaction could not\nbe completed because other DDE transactions\nwere "
         L"being processed."},
    {31, L"There is no application associated\nwith the given filename extension."},
    {32, L"The specified dynamic-link library was not found."},
};

// Position of the first of the placeholders in text, npos when none is there.
size_t FindFirst(const std::wstring &text, bool quoted) {
  size_t best = std::wstring::npos;
  for (const wchar_t *placeholder : kPlaceholders) {
    const std::wstring needle =
        quoted ? L"\"" + std::wstring(placeholder) + L"\"" : std::wstring(placeholder);
    best = std::min(best, text.find(needle));
  }
  return best;
}

} // namespace

std::wstring CutCommandPlaceholder(const std::wstring &commandLine) {
  size_t at = FindFirst(commandLine, true);
  if (at == std::wstring::npos)
    at = FindFirst(commandLine, false);
  return at == std::wstring::npos ? commandLine : commandLine.substr(0, at);
}

int OpenLinkTarget(const std::wstring &address, int /*showCommand*/) {
  const int result = ShellOpenAddress(address);
  if (result > 32)
    return result;
  std::wstring command;
  if (!GetDefaultHtmlCommand(&command))
    return result;
  return StartCommandLine(CutCommandPlaceholder(command), address);
}

std::wstring LinkErrorMessage(int code) {
  for (const CodeMessage &entry : kMessages)
    if (entry.code == code)
      return entry.message;
  return L"Unknown Error (" + std::to_wstring(code) + L") occurred.";
}

std::wstring LinkErrorText(int code) {
  return L"Unable to open hyperlink:\n\n" + LinkErrorMessage(code);
}
