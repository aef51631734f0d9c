#pragma once
#include <wx/utils.h>

#include "ListFixture.h"
#include "QuietFocus.h"

// A list of three rows whose cell (1, 2) reads "before", recording what the list tells its
// parent about the in-cell editors.
class EditorFixture : public ListFixture {
protected:
  void SetUp() override {
    ListFixture::SetUp();
    for (wxEventType type : {wxEVT_XLISTCTRL_EDIT_END, wxEVT_XLISTCTRL_COMBO_SELECTION})
      m_frame->Bind(wxEventTypeTag<wxListEvent>(type), [this](wxListEvent &e) {
        seen.push_back({e.GetEventType(), e.GetIndex(), e.GetColumn()});
      });
    AddRows(3);
    list->SetItemText(1, 2, "before");
  }
  QuietFocus m_quiet;
  // Waits for the list's editor timers and for the windows it let go.
  void WaitTimers() {
    EXPECT_TRUE(YieldUntil([&] { return !list->GetComboWindow() && !list->IsFrozen(); }));
    YieldToWindows();
  }
};
