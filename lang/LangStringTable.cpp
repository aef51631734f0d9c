#include "LangStringTable.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entry {
  int id;
  const wchar_t *text;
};

// Sorted by identifier. The texts are the product's own wording, typos included: language
// files use them as the reference for their translations.
const Entry kStrings[] = {
    {138, L"Add Files"},
    {139, L"Build"},
    {141, L"Up"},
    {144, L"\n\nChecking new version of %s online, please waiting..."},
    {145, L"Check new version online..."},
    {147, L"A new version is available.\nVersion:%d.%02d\nBuild:%d\nPlease download it by clicking "
          L"the following link and upgrade."},
    {148, L"\n\nCongratulations! You are currently running the latest version."},
    {149, L"Download remote file %s failed, error code: HTTP %d!"},
    {150, L"A new version is available, it is recommended to upgrade your current version.\n\nDo "
          L"you want to upgrade now?"},
    {151, L"New Version Detected"},
    {152, L"Cancel"},
    {155, L"Item"},
    {156, L"FileName"},
    {157, L"Size"},
    {158, L"Total Page"},
    {159, L"Page Range"},
    {171, L"Click the button named \"Add files\" on the top left corner to add pdf files or "
          L"photos."},
    {172, L"Configurate \"Output Setting\" parameters."},
    {173, L"Click the button named \"Build\" on the bottom right corner to merge pdf files and "
          L"photos in the list view"},
    {175, L"All(Double click to change the page range)"},
    {176, L"Move one row upwards"},
    {177, L"Move one row downwards"},
    {178, L"Remove all items in the list."},
    {179, L"Remove the selected items in the list."},
    {180, L"Down"},
    {181, L"Remove"},
    {182, L"Clear"},
    {183, L"Change Page Range..."},
    {184, L"Popup a dialog for you to set the page range you want to merge."},
    {185, L"Image file has only one page.There is no need to change its range."},
    {186, L"No necessary data."},
    {187, L"All"},
    {188, L"Selected PDF File Load failed"},
    {189, L"Open Password is Enalbed but Not Set value \n"},
    {190, L"Permission Password is Enalbed but Not Set value \n"},
    {191, L"Output File Name is Empty,please input..."},
    {192, L"PDF load fiailed"},
    {193, L"The input value is invalid."},
    {194, L"Upgrade"},
    {195, L"Would you like to use an upgraded all-in-one PDF Converter?"},
    {196, L"Say \"YES\" to..."},
    {197, L"Convert PDF to 6 formats including Word, EPUB, Text, HTML, Image and SWF."},
    {198, L"Personalize output file by advanced settings."},
    {199, L"Get lifetime FREE upgrade and technical support."},
    {216, L"Merge Off"},
    {217, L"Click to Turn On"},
    {220, L"Merge On"},
    {221, L"Click to Turn Off"},
    {222, L"Add Folder"},
    {223, L"Add Folder"},
    {224, L"Add PDF"},
    {230, L"Reading..."},
    {231, L"Password needed (double click to enter it)"},
    {232, L"Some files are still being read. Press Build again when their page counts show."},
    {233, L"\"%s\" is protected by a password.\nEnter the password to open it:"},
    {234, L"The password is wrong. Please try again."},
    {235, L"Enter Password"},
    {236, L"OK"},
    {237, L"Yes"},
    {238, L"No"},
    {239, L"Browse For Folder"},
    {240, L"Folder:"},
    {241, L"This file is still being read. Please wait until its page count shows."},
    {242, L"The password has a character that PDF passwords cannot hold."},
    {270, L"Picture load failed"},
    {271, L"cannot be read"},
    {272, L"locked: its password was not given"},
    {273, L"still being read"},
    {274, L"its page range selects no page"},
    {275, L"These files will be left out of the merge:"},
    {276, L"Build without them?"},
    {277, L"There is nothing to build: none of the files in the list can be used."},
    {278, L"There is nothing to build: the page ranges of the files select no page."},
    {279, L"Left out of the merge:"},
    {280, L"Reported by the merge:"},
    {282, L"Files left out of the merge: %d. Select one to see why."},
    {283, L"the reader stopped on this file (it crashed or took too long)"},
};

} // namespace

std::wstring LoadBuiltInString(int id) {
  const auto found = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                      [](const Entry &e, int key) { return e.id < key; });
  if (found == std::end(kStrings) || found->id != id)
    return std::wstring();
  return found->text;
}

std::vector<int> BuiltInStringIds() {
  std::vector<int> ids;
  for (const Entry &e : kStrings)
    ids.push_back(e.id);
  return ids;
}
