#pragma once
// A three-page form written byte by byte: a text field "name" (value "Ann") and a check box
// "agree" on page 1, a radio group "choice" with one button on page 1 and one on page 2, a
// combo box "color" and a signature field "sig" on page 2, and a text field "later" on page
// 3. Every appearance is a solid block of its own colour, so a rendered sheet shows where each
// widget landed.

#include <string>

struct FormPdfOptions {
  int rotatePage1 = 0;          // /Rotate of page 1
  bool needAppearances = false; // /NeedAppearances true, and "name" without an appearance
  bool kidsListed = false;      // /Fields lists the radio buttons, not their group
  bool sharedWidget = false;    // the widget of "later" is on pages 3 and 1
  std::string radioValue = "B"; // the group's /V ("A" leaves both buttons' /AS stale)
};

std::string MakeFormPdf(const std::string &label, const FormPdfOptions &options = {});

// The colours of the appearances (0xRRGGBB).
constexpr unsigned kNameColour = 0xFF8000, kAgreeColour = 0x00A000, kSignatureColour = 0x8000FF;
