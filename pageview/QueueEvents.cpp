#include "QueueEvents.h"

wxDEFINE_EVENT(wxEVT_QUEUE_OPENED, wxThreadEvent);
wxDEFINE_EVENT(wxEVT_QUEUE_THUMBNAIL, wxThreadEvent);
wxDEFINE_EVENT(wxEVT_QUEUE_LARGE, wxThreadEvent);

ThumbnailEvents EventsForWindow(wxEvtHandler *target) {
  ThumbnailEvents events;
  events.opened = [target](int status, const std::wstring &reason, int pageCount) {
    auto *event = new wxThreadEvent(wxEVT_QUEUE_OPENED);
    event->SetInt(status);
    event->SetExtraLong(pageCount);
    event->SetString(reason);
    wxQueueEvent(target, event);
  };
  events.thumbnail = [target](int page) {
    auto *event = new wxThreadEvent(wxEVT_QUEUE_THUMBNAIL);
    event->SetInt(page);
    wxQueueEvent(target, event);
  };
  events.large = [target](int page, std::shared_ptr<const PageImage> image) {
    auto *event = new wxThreadEvent(wxEVT_QUEUE_LARGE);
    event->SetInt(page);
    event->SetPayload(image);
    wxQueueEvent(target, event);
  };
  return events;
}
