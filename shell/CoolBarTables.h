#pragma once
#include "CCoolButtonBar.h"
#include "CCoolToolBar.h"

// The program's own bars: the title-bar strip and the four tool bars of the main window.

// Title bar: bitmap 146, its four state rectangles and the menu, minimise and close buttons.
extern const int kTitleBarBitmap;
extern const wxRect kTitleBarStates[4];
extern const CoolBarButton kTitleBarButtons[3];

extern const CoolToolButtonDef kAddFilesBar[1];
extern const CoolToolButtonDef kAddFolderBar[1];
extern const CoolToolButtonDef kBuildBar[1];
const int kListToolBarCount = 7;
// The list commands; the merge switch's picture and texts follow mergeOn.
const CoolToolButtonDef *ListToolBarTable(bool mergeOn);

// Where the main window puts the list and Build bars: their right ends this far from the
// window's right edge, the list bar at this height, the Build bar this far above the window's
// bottom edge.
const int kBarRightMargin = 17;
const int kListBarTop = 50;
const int kBuildBarBottomOffset = 100;

// Caption sizes of the bars that do not use the default 14 pixels.
const double kBuildBarFontSize = 35;
const double kListToolBarFontSize = 13;
