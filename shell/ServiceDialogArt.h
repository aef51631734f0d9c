#pragma once
#include <wx/bitmap.h>
#include <wx/font.h>
#include <wx/gdicmn.h>

// Pictures and layout helpers of the service dialogs (update check, about box, upsell).

// Bitmap resource id from "<program folder>/resources/bitmap_<id>.png", or from the folder
// VANTOREL_RESOURCE_FOLDER names; an invalid bitmap when it is missing or unreadable.
wxBitmap LoadServiceBitmap(int id);

// A rectangle in dialog units (x, y, width, height) in pixels: 1.5 px across, 1.625 px down.
wxRect ServiceDluRect(int x, int y, int width, int height);
wxSize ServiceDluSize(int width, int height);

// The dialogs' font: Tahoma 8 of the templates, as this desktop has it ("Liberation Sans" 8).
wxFont ServiceDialogFont();
