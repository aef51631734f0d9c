#include "GridSelection.h"

#include <algorithm>

GridSelection::GridSelection(int count) : m_selected(static_cast<size_t>(std::max(0, count))) {}

bool GridSelection::IsSelected(int index) const {
  return index >= 0 && index < Count() && m_selected[static_cast<size_t>(index)];
}

std::vector<int32_t> GridSelection::SelectedPages() const {
  std::vector<int32_t> pages;
  pages.reserve(static_cast<size_t>(m_nSelected));
  for (int i = 0; i < Count(); ++i)
    if (m_selected[static_cast<size_t>(i)])
      pages.push_back(i + 1);
  return pages;
}

int GridSelection::Clamp(int index) const { return std::clamp(index, 0, std::max(0, Count() - 1)); }

void GridSelection::Set(int index, bool on) {
  const size_t at = static_cast<size_t>(index);
  if (m_selected[at] == on)
    return;
  m_selected[at] = on;
  m_nSelected += on ? 1 : -1;
}

void GridSelection::SelectRange(int from, int to) {
  if (from > to)
    std::swap(from, to);
  for (int i = from; i <= to; ++i)
    Set(i, true);
}

void GridSelection::Click(int index, bool shift, bool ctrl) {
  if (index < 0 || index >= Count())
    return;
  if (shift) {
    if (!ctrl)
      SelectNone();
    SelectRange(m_nAnchor, index);
  } else if (ctrl) {
    Set(index, !IsSelected(index));
    m_nAnchor = index;
  } else {
    SelectNone();
    Set(index, true);
    m_nAnchor = index;
  }
  m_nFocus = index;
}

void GridSelection::MoveFocus(int index, bool shift, bool ctrl) {
  if (Count() == 0)
    return;
  index = Clamp(index);
  if (ctrl && !shift)
    m_nFocus = index;
  else
    Click(index, shift, false);
}

void GridSelection::ToggleFocus() {
  if (Count() == 0)
    return;
  Set(m_nFocus, !IsSelected(m_nFocus));
  m_nAnchor = m_nFocus;
}

void GridSelection::SelectAll() {
  std::fill(m_selected.begin(), m_selected.end(), true);
  m_nSelected = Count();
}

void GridSelection::SelectNone() {
  std::fill(m_selected.begin(), m_selected.end(), false);
  m_nSelected = 0;
}

void GridSelection::SelectOdd() {
  SelectNone();
  for (int i = 0; i < Count(); i += 2)
    Set(i, true);
}

void GridSelection::SelectEven() {
  SelectNone();
  for (int i = 1; i < Count(); i += 2)
    Set(i, true);
}

void GridSelection::SelectPages(const std::vector<int32_t> &pages) {
  SelectNone();
  for (int32_t page : pages)
    if (page >= 1 && page <= Count())
      Set(page - 1, true);
  const std::vector<int32_t> now = SelectedPages();
  if (!now.empty())
    m_nFocus = m_nAnchor = now.front() - 1;
}
