#pragma once
#include <wx/event.h>
#include <wx/listbase.h>

// Notifications of the extended list to its parent, as wxListEvents carrying the row
// (GetIndex) and the column (GetColumn). They travel up from the list like command events.
wxDECLARE_EVENT(wxEVT_XLISTCTRL_COMBO_SELECTION, wxListEvent);  // "WM_XLISTCTRL_COMBO_SELECTION"
wxDECLARE_EVENT(wxEVT_XLISTCTRL_EDIT_END, wxListEvent);         // "WM_XLISTCTRL_EDIT_END"
wxDECLARE_EVENT(wxEVT_XLISTCTRL_CHECKBOX_CLICKED, wxListEvent); // "WM_XLISTCTRL_CHECKBOX_CLICKED"

// Notifications of the in-cell editors to the list.
wxDECLARE_EVENT(wxEVT_XCOMBOLIST_COMPLETE, wxCommandEvent);  // "WM_XCOMBOLIST_COMPLETE"
wxDECLARE_EVENT(wxEVT_XCOMBOLIST_VK_ESCAPE, wxCommandEvent); // "WM_XCOMBOLIST_VK_ESCAPE"
wxDECLARE_EVENT(wxEVT_XEDIT_KILL_FOCUS, wxCommandEvent);     // "WM_XEDIT_KILL_FOCUS"
wxDECLARE_EVENT(wxEVT_XEDIT_VK_ESCAPE, wxCommandEvent);      // "WM_XEDIT_VK_ESCAPE"
wxDECLARE_EVENT(wxEVT_XCOMBOLIST_KEYDOWN, wxCommandEvent);   // "WM_XCOMBOLIST_KEYDOWN"
wxDECLARE_EVENT(wxEVT_XCOMBOLIST_LBUTTONUP, wxCommandEvent); // "WM_XCOMBOLIST_LBUTTONUP"
wxDECLARE_EVENT(wxEVT_XCOMBOLIST_VK_RETURN, wxCommandEvent); // "WM_XCOMBOLIST_VK_RETURN"
