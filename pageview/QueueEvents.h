#pragma once
#include <wx/event.h>

#include "ThumbnailQueue.h"

// The rendering worker's reports as events of a window, queued from the worker's thread.
// Opened: GetInt() the status, GetExtraLong() the page count, GetString() the reason.
wxDECLARE_EVENT(wxEVT_QUEUE_OPENED, wxThreadEvent);
// A thumbnail is in the cache: GetInt() the page.
wxDECLARE_EVENT(wxEVT_QUEUE_THUMBNAIL, wxThreadEvent);
// The large picture: GetInt() the page, the image as payload (std::shared_ptr<const PageImage>).
wxDECLARE_EVENT(wxEVT_QUEUE_LARGE, wxThreadEvent);

// Reports that queue each report as an event of target, which must outlive the worker.
ThumbnailEvents EventsForWindow(wxEvtHandler *target);
