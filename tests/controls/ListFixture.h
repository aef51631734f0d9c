#pragma once
#include <vector>

#include "NoGrabDropWnd.h"
#include "controls/CXListCtrl.h"
#include "support/FrameTest.h"

// A list whose keyboard focus the test decides (a virtual screen has no reliable focus).
class TestList : public CXListCtrl {
public:
  TestList(wxWindow *parent) : CXListCtrl(parent, wxID_ANY, wxPoint(0, 0), wxSize(600, 400)) {}
  bool focused = false;
  int edits = 0, combos = 0;

protected:
  bool HasKeyboardFocus() const override { return focused; }
  void EditSubItem(int, int) override { ++edits; }
  void ComboSubItem(int, int) override { ++combos; }
  CXCombo *NewCombo() override { return new NoGrabXCombo(this); }
};

// A frame with a 600 x 400 list of three columns (100, 150, 200 pixels) and a record of the
// list events that reached the frame.
class ListFixture : public FrameTest {
protected:
  struct Seen {
    wxEventType type;
    long row;
    int col;
  };
  void SetUp() override {
    FrameTest::SetUp();
    list = new TestList(m_frame);
    list->SetShowSelectionAlways(true);
    list->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    list->InsertColumn(0, "A", HDF_LEFT, 100);
    list->InsertColumn(1, "B", HDF_LEFT, 150);
    list->InsertColumn(2, "C", HDF_LEFT, 200);
    auto record = [this](wxListEvent &e) {
      seen.push_back({e.GetEventType(), e.GetIndex(), e.GetColumn()});
    };
    m_frame->Bind(wxEVT_LIST_ITEM_SELECTED, record);
    m_frame->Bind(wxEVT_LIST_ITEM_DESELECTED, record);
    m_frame->Bind(wxEVT_LIST_ITEM_ACTIVATED, record);
    m_frame->Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, record);
    m_frame->Bind(wxEVT_LIST_COL_CLICK, record);
    m_frame->Bind(wxEVT_LIST_KEY_DOWN, record);
    m_frame->Bind(wxEVT_XLISTCTRL_CHECKBOX_CLICKED, record);
    YieldToWindows();
  }
  void AddRows(int n) {
    for (int i = 0; i < n; ++i)
      list->InsertItem(list->GetItemCount(), wxString::Format("row %d", i));
  }
  int Count(wxEventType type) const {
    int n = 0;
    for (const Seen &s : seen)
      n += s.type == type;
    return n;
  }
  // The middle of a cell, in the list's client coordinates.
  wxPoint CellPoint(int row, int col) const {
    return list->GetCellRect(row, col).GetPosition() + wxPoint(10, 5);
  }
  void Mouse(wxEventType type, const wxPoint &pt, bool ctrl = false, bool shift = false) {
    wxMouseEvent e(type);
    e.SetPosition(pt);
    e.SetControlDown(ctrl);
    e.SetShiftDown(shift);
    e.SetEventObject(list);
    list->GetEventHandler()->ProcessEvent(e);
  }
  void Key(int code, bool ctrl = false, bool shift = false) {
    wxKeyEvent e(wxEVT_KEY_DOWN);
    e.m_keyCode = code;
    e.SetControlDown(ctrl);
    e.SetShiftDown(shift);
    e.SetEventObject(list);
    list->GetEventHandler()->ProcessEvent(e);
  }
  TestList *list = nullptr;
  std::vector<Seen> seen;
};
