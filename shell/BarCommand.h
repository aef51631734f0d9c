#pragma once
#include <wx/event.h>

// The main window's bar notification: a bar button or the empty-list cover was clicked. The
// event's int is the command (the message's first parameter), its extra long 0 (the second).
// Bars post it; the cover sends it synchronously.
wxDECLARE_EVENT(WM_BAR_COMMAND, wxCommandEvent);

// Commands carried by WM_BAR_COMMAND.
enum BarCommandId {
  kCmdMainMenu = 101,
  kCmdMinimise = 102,
  kCmdClose = 103,
  kCmdAddFiles = 201,
  kCmdAddFolder = 202,
  kCmdBuild = 301,
  kCmdUpgrade = 402,
  kCmdMoveUp = 501,
  kCmdMoveDown = 502,
  kCmdRemove = 503,
  kCmdClear = 504,
  kCmdPageRange = 505,
  kCmdMergeSwitch = 506,
};

// Where a bar or the cover reports its clicks: the owner's handler and its message.
struct BarNotifyTarget {
  wxEvtHandler *window = nullptr;
  wxEventType message = wxEVT_NULL;

  bool IsSet() const { return window != nullptr && message != wxEVT_NULL; }
  // Queues the message with command; nothing happens while no target is set.
  void Post(int command) const;
  // Processes the message with command before returning.
  void Send(int command) const;
};
