#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "controls/Colors.h"

// The extra record the extended list keeps for every cell. Copy-assignable field by field: moving
// a row copies these records into the new row, column by column.
struct XListCellData {
  XListCellData();

  bool bEnabled = true; // only cell 0's value counts, for the whole row
  bool bBold = false;
  bool bModified = false; // the user changed the cell through a check box, edit or combo box
  int nImage = -1;        // index into the small image list; -1 = none
  std::wstring strToolTip;
  bool bCombo = false;
  const std::vector<std::wstring> *psaComboList = nullptr; // not owned
  int nComboListHeight = 10;
  int nInitialComboSel = -1;
  bool bEdit = false;
  COLORREF crText;       // system window-text colour by default
  COLORREF crBackground; // system window colour by default
  bool bShowProgress = false;
  int nProgressPercent = 0;
  std::wstring strProgressText; // printf format with the integer value; empty = default label
  bool bShowProgressMessage = true;
  int nCheckedState = -1;        // -1 no check box, 0 unchecked, 1 checked
  std::uintptr_t dwItemData = 0; // the row's user data; only cell 0's value counts
};
