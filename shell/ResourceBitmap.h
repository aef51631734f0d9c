#pragma once
#include <string>

#include <wx/bitmap.h>
#include <wx/gdicmn.h>
#include <wx/iconbndl.h>

// The program's pictures are PNG files in "<program folder>/resources", one per bitmap resource
// ("bitmap_<id>.png"). VANTOREL_RESOURCE_FOLDER, when set, names another folder (tests).
std::wstring GetResourceFolder();

// The bitmap resource id; an invalid bitmap when its file is missing or unreadable.
wxBitmap LoadBitmapResource(int id);

// Icon resource id in every size there is ("icon_<id>_<size>.png"); empty when none.
wxIconBundle LoadIconResource(int id);

// Loads a PNG file; an invalid bitmap when it is missing or unreadable.
wxBitmap LoadPngFile(const std::wstring &path);

// A copy of rect cut out of source, as a picture of its own. Parts of rect outside source stay
// black, as a copy from beyond a bitmap's edge gives; an empty rect gives an invalid bitmap.
wxBitmap CutPicture(const wxBitmap &source, const wxRect &rect);
