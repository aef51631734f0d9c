#pragma once
#include <string>

#include <wx/cursor.h>
#include <wx/font.h>
// The port's wxStaticText first: the generic header would otherwise keep it out.
#include <wx/stattext.h>

#include <wx/generic/stattextg.h>

// Style flag: the text is centred vertically in the control (fit to text shrinks evenly).
constexpr long kLinkCentreVertical = wxALIGN_CENTRE_VERTICAL;

// A static text shown as a web link: underlined, in the link colour (the hover colour while the
// mouse is over it, the visited colour after it was opened), a hand cursor, the address as tool
// tip; a click opens the address with OpenLinkTarget. Generic (drawn by us) rather than native,
// because a native label gets no mouse input on this desktop.
//
// Set the target, the colours and the switches, then Create; as on a dialog's static control,
// an empty target takes the control's text and an empty text shows the target.
class CHyperLink : public wxGenericStaticText {
public:
  CHyperLink();
  ~CHyperLink() override;

  bool Create(wxWindow *parent, wxWindowID id, const wxString &label,
              const wxPoint &pos = wxDefaultPosition, const wxSize &size = wxDefaultSize,
              long style = 0);

  // Stores the address; on a created control also fits it to its text and updates the tool tip.
  void SetLinkTarget(const std::wstring &address);
  const std::wstring &GetLinkTarget() const { return m_strURL; }

  // Sets the colours of an unvisited, a visited and a hovered link, and repaints.
  void ApplyLinkColours(const wxColour &link, const wxColour &visited, const wxColour &hover);

  // Switches that take effect when the control is created.
  void SetFitToText(bool fit) { m_bAdjustToFit = fit; }
  void SetUnderline(bool underline) { m_bUnderline = underline; }

  // Resizes the control to its text as its alignment says (only with fit to text on).
  void FitToText();

  // The colour the text is drawn in now: hover, else visited, else link colour.
  wxColour GetDrawColour() const;
  bool IsMouseOver() const { return m_bOverControl; }
  bool IsVisited() const { return m_bVisited; }

  // What a click does: opens the target, keeps the visited state, reports a failure.
  void FollowLink();

protected:
  // Opens the target; a shell code, greater than 32 for success.
  virtual int OpenTarget();
  // Tells the user that opening failed (exclamation beep and the error box).
  virtual void ReportOpenFailure(int code);

private:
  void OnPaint(wxPaintEvent &event);
  void OnMouseMove(wxMouseEvent &event);
  void OnLeftUp(wxMouseEvent &event);
  void OnCaptureLost(wxMouseCaptureLostEvent &event);
  void SetMouseOver(bool over);

  std::wstring m_strURL;
  wxFont m_font;
  wxCursor m_hLinkCursor;
  wxColour m_crLinkColour{230, 238, 28};
  wxColour m_crVisitedColour{0, 255, 0};
  wxColour m_crHoverColour{5, 206, 30};
  bool m_bOverControl = false;
  bool m_bVisited = false;
  bool m_bUnderline = true;
  bool m_bAdjustToFit = true;
  bool m_bCreated = false;
};

// The error box of a link that could not be opened: "Unable to open hyperlink:" and the
// message for code, caption "Error", OK button, exclamation icon.
void ShowLinkError(wxWindow *parent, int code);
