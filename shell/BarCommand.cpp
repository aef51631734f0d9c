#include "BarCommand.h"

#include <memory>

wxDEFINE_EVENT(WM_BAR_COMMAND, wxCommandEvent);

namespace {

wxCommandEvent *MakeEvent(wxEventType message, int command) {
  auto *event = new wxCommandEvent(message);
  event->SetInt(command);
  event->SetExtraLong(0);
  return event;
}

} // namespace

void BarNotifyTarget::Post(int command) const {
  if (IsSet())
    wxQueueEvent(window, MakeEvent(message, command));
}

void BarNotifyTarget::Send(int command) const {
  if (!IsSet())
    return;
  std::unique_ptr<wxCommandEvent> event(MakeEvent(message, command));
  window->ProcessEvent(*event);
}
