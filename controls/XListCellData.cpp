#include "controls/XListCellData.h"

XListCellData::XListCellData()
    : crText(GetSysColor(SysColor::WindowText)), crBackground(GetSysColor(SysColor::Window)) {}
