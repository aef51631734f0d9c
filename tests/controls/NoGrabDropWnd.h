#pragma once
#include "controls/CDropWnd.h"
#include "controls/CXCombo.h"

// A drop-down that never takes the pointer: window tests run side by side on one display, and a
// grab, however short, takes real clicks away from the others.
class NoGrabDropWnd : public CDropWnd {
public:
  using CDropWnd::CDropWnd;
  void TakeCapture() override {}
};

// The in-cell combo with such a drop-down.
class NoGrabXCombo : public CXCombo {
public:
  using CXCombo::CXCombo;

protected:
  CDropWnd *NewDropWnd(const ChoiceList &list, int flags) override {
    return new NoGrabDropWnd(this, list, flags);
  }
};
