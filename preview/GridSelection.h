#pragma once
#include <cstdint>
#include <vector>

// Which pages of a grid are selected, as clicks and keys change it the way file managers do:
// a click selects one page, Ctrl+click toggles one, Shift+click selects from the anchor (the
// last page clicked without Shift) to the page clicked; the arrow keys move a focus that
// selects the same way. Indexes are from 0.
class GridSelection {
public:
  explicit GridSelection(int count = 0);

  int Count() const { return static_cast<int>(m_selected.size()); }
  bool IsSelected(int index) const;
  int SelectedCount() const { return m_nSelected; }
  // The selected pages, 1-based and ascending.
  std::vector<int32_t> SelectedPages() const;
  int Focus() const { return m_nFocus; }
  int Anchor() const { return m_nAnchor; }

  // A click on index with the Shift and Ctrl keys as given (Ctrl+Shift adds the range).
  void Click(int index, bool shift, bool ctrl);
  // The focus moved to index by a key: without modifiers it selects index alone, with Shift it
  // selects from the anchor, with Ctrl it only moves.
  void MoveFocus(int index, bool shift, bool ctrl);
  // Space: toggles the focused page.
  void ToggleFocus();

  void SelectAll();
  void SelectNone();
  // The odd (1, 3, 5, ...) or the even pages counted from 1.
  void SelectOdd();
  void SelectEven();
  // Exactly the given 1-based pages (others outside the grid are ignored).
  void SelectPages(const std::vector<int32_t> &pages);

private:
  void Set(int index, bool on);
  void SelectRange(int from, int to);
  int Clamp(int index) const;

  std::vector<bool> m_selected;
  int m_nSelected = 0;
  int m_nFocus = 0;
  int m_nAnchor = 0;
};
