#include "CoolBarTables.h"

#include <array>

namespace {

// Left, top, right, bottom as the strip's set-up gives them.
wxRect FromEdges(int left, int top, int right, int bottom) {
  return wxRect(left, top, right - left, bottom - top);
}

// A list button: 20 x 19 pictures, normal and hover in the first row, pressed in the second;
// the disabled picture is in the row given.
constexpr CoolToolButtonDef ListButton(int enabled, BarCommandId command, int bitmap, int disabledY,
                                       int caption, int tip) {
  return {enabled, command,   bitmap, 0,  0,       0,   0,  0, 19,
          0,       disabledY, 20,     19, caption, tip, 18, 1, 0};
}

// The list tool bar: the merge switch, whose picture and texts show its state, then the list
// commands and the upsell button.
constexpr std::array<CoolToolButtonDef, kListToolBarCount>
ListBar(int switchBitmap, int switchCaption, int switchTip) {
  return {{
      {1, kCmdMergeSwitch, switchBitmap, 0, 0, 0, 0, 0, 19, 0, 19, 39, 19, switchCaption, switchTip,
       38, 1, 0},
      ListButton(0, kCmdPageRange, 144, 0, 183, 184),
      ListButton(0, kCmdMoveUp, 176, 0, 141, 176),
      ListButton(0, kCmdMoveDown, 174, 19, 180, 177),
      ListButton(0, kCmdRemove, 175, 19, 181, 179),
      ListButton(0, kCmdClear, 173, 19, 182, 178),
      ListButton(1, kCmdUpgrade, 145, 19, 194, 194),
  }};
}

constexpr auto kListBarOff = ListBar(189, 216, 217);
constexpr auto kListBarOn = ListBar(190, 220, 221);

} // namespace

const int kTitleBarBitmap = 146;
const wxRect kTitleBarStates[4] = {FromEdges(0, 0, 91, 23), FromEdges(0, 26, 91, 49),
                                   FromEdges(0, 52, 91, 75), FromEdges(0, 78, 91, 101)};
const CoolBarButton kTitleBarButtons[3] = {
    {1, kCmdMainMenu, 0, 0, 27, 22, 0},
    {1, kCmdMinimise, 28, 0, 28, 22, 0},
    {1, kCmdClose, 56, 0, 34, 22, 0},
};

const CoolToolButtonDef kAddFilesBar[1] = {
    {1, kCmdAddFiles, 138, 0, 0, 0, 37, 0, 74, 0, 111, 72, 34, 138, 224, 60, 5, 0}};
const CoolToolButtonDef kAddFolderBar[1] = {
    {1, kCmdAddFolder, 191, 0, 0, 0, 37, 0, 74, 0, 111, 72, 34, 222, 223, 50, 10, 0}};
const CoolToolButtonDef kBuildBar[1] = {
    {0, kCmdBuild, 141, 0, 4, 0, 72, 0, 140, 0, 208, 100, 66, 139, 0, 80, 10, 0}};

const CoolToolButtonDef *ListToolBarTable(bool mergeOn) {
  return mergeOn ? kListBarOn.data() : kListBarOff.data();
}
