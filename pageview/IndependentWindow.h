#pragma once
class wxTopLevelWindow;

// Lets a modeless window take input while a modal window of the program is open: the main
// window itself runs modally, and a window beside it (the preview) would otherwise be blocked.
void KeepOutOfModalGrab(wxTopLevelWindow *window);
