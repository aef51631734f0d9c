#pragma once
class wxFileDialog;

// Works round faults of the desktop's file dialog before it is shown, so that using it prints
// no warnings of the toolkit's own.
void MendFileDialog(wxFileDialog &dialog);
