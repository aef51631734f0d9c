// Start-up, layout and shut-down of the main window. Start-up follows a fixed order: the
// settings first (the language depends on them), then the menus and the language, the
// translation of the template's controls, the list, the bars and their layout, the drop target,
// the title, the update check, the output folder, the cover, the output settings panel and
// last the name box.
#include "CVantorelDlg.h"

#include "CCoolButtonBar.h"
#include "CCoolToolBar.h"
#include "CFileList.h"
#include "CLvCover.h"
#include "COutputSetting.h"
#include "CReadOnlyComboBox.h"
#include "CURLDropTarget.h"
#include "CoolBarTables.h"
#include "DialogUnits.h"
#include "FocusRing.h"
#include "LanguageMenu.h"
#include "Localization.h"
#include "MainMenus.h"
#include "ResourceBitmap.h"
#include "SettingsStartup.h"
#include "SourceProbeQueue.h"
#include "SourceProber.h"
#include "StartupUpdateCheck.h"
#include "SystemFolders.h"
#include "TranslateDialog.h"
#include "TranslateMenu.h"
#include "controls/CXListCtrl.h"

#include <wx/button.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

const wchar_t CVantorelDlg::kTitle[] = L"Tessary Zuzu VOR Adazev";
const wchar_t CVantorelDlg::kAutomaticName[] = L"FirstFileName_LastFileName";

namespace {
// Template 108 is 600 x 374 dialog units.
const int kTemplateWidth = 600;
const int kTemplateHeight = 374;
const wxColour kBackground(233, 233, 233);
// Room kept free between the Add Folder bar and the list tool bar.
const int kListBarGap = 10;
// The list's place in template 108 (dialog units); its last rows give way to the status line.
const int kListX = 7, kListY = 50, kListWidth = 586, kListHeight = 172;
const int kStatusLineHeight = 10;
const wxColour kStatusText(140, 0, 0);
} // namespace

CVantorelDlg::CVantorelDlg(wxWindow *parent, bool startUpdateCheck) {
  UseFocusRingOnDesktopControls();
  // The window has no caption bar of its own; the minimise box and system menu let the task
  // bar minimise and restore it.
  Create(parent, wxID_ANY, kTitle, wxDefaultPosition,
         wxSize(DluToPixelsX(kTemplateWidth), DluToPixelsY(kTemplateHeight)),
         wxBORDER_NONE | wxMINIMIZE_BOX | wxSYSTEM_MENU | wxFRAME_SHAPED);
  SetFont(DialogFont());
  SetBackgroundColour(kBackground);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  CreateControls();

  m_icons = LoadIconResource(IDI_MAINFRAME);
  if (!m_icons.IsEmpty())
    SetIcons(m_icons);

  PrepareSettings(m_settings);

  m_mainMenu.reset(LoadMainMenu());
  m_listMenu.reset(LoadListMenu());
  m_languageMenu = ::GetLanguageMenu(m_mainMenu.get());
  BuildLanguageMenu(m_languageMenu, m_languageCodes, m_settings.languageID);
  TranslateDialog(this, IDD);
  TranslateMenu(m_mainMenu.get());
  TranslateMenu(m_listMenu.get());

  // Answers come on the reader's thread and are taken on the window's.
  m_reader = std::make_unique<SourceProbeQueue>(
      std::make_unique<SourceProber>(ProbeHelperPath(GetProgramFolder())),
      [this](int32_t id, const ProbeReply &reply) {
        CallAfter([this, id, reply] { OnReadAnswer(id, reply); });
      });
  m_files = std::make_unique<CFileList>(m_list, [this](const _stru_ItemData_ &record) {
    ProbeRequest request;
    request.path = record.szFilePath;
    m_reader->Add(record.nItemID, request);
  });
  m_files->SetupColumns();

  m_skin = LoadBitmapResource(IDB_SKIN);
  SetUpBars();
  LayoutBars();

  SetDropTarget(new CURLDropTarget(this));
  SetTitle(kTitle);

  ReadProgramVersion(&m_version.major, &m_version.minor, &m_version.patch);
  if (startUpdateCheck)
    StartStartupUpdateCheck(this);

  m_strOutputFolder = m_settings.OutputFolder;
  m_outputFolderEdit->ChangeValue(m_strOutputFolder);

  m_cover = new CLvCover;
  m_cover->Create(this, IDC_COVER, m_list->GetPosition(), wxSize(877, 280));
  m_cover->SetNotify(this, WM_BAR_COMMAND);
  m_cover->Show();
  m_list->Hide();

  m_panel = new COutputSetting(&m_settings);
  m_panel->Create(this, IDC_PANEL, wxPoint(5, 0));
  const int panelBottom = FindWindow(IDC_OUTPUT_PATH)->GetPosition().y;
  const int panelHeight = m_panel->GetSize().y;
  m_panel->SetSize(5, panelBottom - panelHeight, GetSize().x - 12, panelHeight);
  m_panel->Show();

  m_outputName->AddEntry(wxT("Customize"));
  m_outputName->AddEntry(kAutomaticName);

  Bind(wxEVT_PAINT, &CVantorelDlg::OnPaint, this);
  Bind(wxEVT_SIZE, &CVantorelDlg::OnSize, this);
  Bind(wxEVT_LEFT_DOWN, &CVantorelDlg::OnLeftDown, this);
  Bind(wxEVT_MOTION, &CVantorelDlg::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &CVantorelDlg::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CVantorelDlg::OnCaptureLost, this);
  Bind(wxEVT_CHAR_HOOK, &CVantorelDlg::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &CVantorelDlg::OnClose, this);
  Bind(wxEVT_HELP, &CVantorelDlg::OnHelpEvent, this);
  Bind(WM_BAR_COMMAND, &CVantorelDlg::OnBarCommandEvent, this);
  Bind(wxEVT_MENU, &CVantorelDlg::OnMenu, this);
  m_list->Bind(wxEVT_LIST_ITEM_SELECTED, &CVantorelDlg::OnListSelection, this);
  m_list->Bind(wxEVT_LIST_ITEM_DESELECTED, &CVantorelDlg::OnListSelection, this);
  m_list->Bind(wxEVT_LIST_ITEM_ACTIVATED, &CVantorelDlg::OnListActivated, this);
  m_list->Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, &CVantorelDlg::OnListRightClickEvent, this);
  m_list->Bind(wxEVT_CONTEXT_MENU, &CVantorelDlg::OnListContextMenu, this);
  FindWindow(IDC_BROWSE)->Bind(wxEVT_BUTTON, &CVantorelDlg::OnBrowse, this);
  FindWindow(IDC_OPEN_FOLDER)->Bind(wxEVT_BUTTON, &CVantorelDlg::OnOpenFolder, this);
  m_outputFolderEdit->Bind(wxEVT_KILL_FOCUS, &CVantorelDlg::OnOutputFolderKillFocus, this);

  SetTabOrder();
  UpdateWindowShape();
  CentreOnScreen();
}

void CVantorelDlg::SetTabOrder() {
  // Top to bottom as the window reads: the title bar, the add bars, the list tool bar, the
  // list (or the cover in its place), the panel, the output controls and Build last.
  m_cover->MoveAfterInTabOrder(m_listBar);
  m_list->MoveAfterInTabOrder(m_cover);
  m_panel->MoveAfterInTabOrder(m_list);
  m_buildBar->MoveAfterInTabOrder(FindWindow(IDC_OPEN_FOLDER));
  m_addBar->SetFocus();
}

CVantorelDlg::~CVantorelDlg() { ShutDown(); }

void CVantorelDlg::CreateControls() {
  auto rect = [](int x, int y, int w, int h) { return DluRect(x, y, w, h); };
  auto place = [](wxWindow *window, const wxRect &r) { window->SetSize(r); };

  // The bars take the places (and identifiers) of the template's placeholders.
  m_titleBar = new CCoolButtonBar(this, IDC_TITLE_BAR);
  place(m_titleBar, rect(480, 0, 111, 18));
  m_addBar = new CCoolToolBar(this, IDC_ADD_BAR);
  place(m_addBar, rect(7, 24, 92, 18));
  m_folderBar = new CCoolToolBar(this, IDC_FOLDER_BAR);
  place(m_folderBar, rect(121, 22, 92, 18));
  m_listBar = new CCoolToolBar(this, IDC_LIST_BAR);
  place(m_listBar, rect(438, 18, 84, 18));

  const wxRect listRect = rect(kListX, kListY, kListWidth, kListHeight - kStatusLineHeight);
  m_list = new CXListCtrl(this, IDC_LIST, listRect.GetPosition(), listRect.GetSize());
  const wxRect statusRect =
      rect(kListX, kListY + kListHeight - kStatusLineHeight + 1, kListWidth, kStatusLineHeight - 1);
  m_statusLine = new wxStaticText(this, wxID_ANY, wxString(), statusRect.GetPosition(),
                                  statusRect.GetSize(), wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  m_statusLine->SetForegroundColour(kStatusText);

  new wxStaticText(this, IDC_OUTPUT_PATH, wxT("Output Path:"), rect(6, 312, 143, 8).GetPosition(),
                   rect(6, 312, 143, 8).GetSize());
  new wxStaticText(this, IDC_NAME_LABEL, wxT("Output File Name:"),
                   rect(14, 326, 93, 14).GetPosition(), rect(14, 326, 93, 14).GetSize());
  const wxRect nameRect = rect(119, 326, 228, 30);
  m_outputName = new CReadOnlyComboBox(this, IDC_OUTPUT_NAME, nameRect.GetPosition(),
                                       wxSize(nameRect.width, -1));
  new wxStaticText(this, IDC_FOLDER_LABEL, wxT("Output Folder:"),
                   rect(14, 346, 93, 14).GetPosition(), rect(14, 346, 93, 14).GetSize());
  const wxRect folderRect = rect(119, 346, 220, 14);
  m_outputFolderEdit = new wxTextCtrl(this, IDC_OUTPUT_FOLDER, wxString(), folderRect.GetPosition(),
                                      folderRect.GetSize(), wxHSCROLL);
  new wxButton(this, IDC_BROWSE, wxT("..."), rect(340, 346, 13, 14).GetPosition(),
               rect(340, 346, 13, 14).GetSize(), wxBU_EXACTFIT);
  new wxButton(this, IDC_OPEN_FOLDER, wxT("Open"), rect(355, 346, 50, 14).GetPosition(),
               rect(355, 346, 50, 14).GetSize());

  m_buildBar = new CCoolToolBar(this, IDC_BUILD_BAR);
  place(m_buildBar, rect(425, 320, 119, 41));
}

void CVantorelDlg::SetUpBars() {
  m_titleBar->SetButtons(kTitleBarBitmap, kTitleBarStates, 3, kTitleBarButtons);
  m_addBar->SetButtonsWithPictures(1, kAddFilesBar);
  m_folderBar->SetButtonsWithPictures(1, kAddFolderBar);
  m_buildBar->SetButtonsWithPictures(1, kBuildBar);
  m_listBar->SetButtonsWithPictures(kListToolBarCount, ListToolBarTable(m_settings.bMergeOn == 1));
  for (CCoolBarBase *bar : std::initializer_list<CCoolBarBase *>{m_titleBar, m_addBar, m_folderBar,
                                                                 m_buildBar, m_listBar})
    bar->SetNotify(this, WM_BAR_COMMAND);
  m_buildBar->SetFontSize(kBuildBarFontSize);
  m_listBar->SetFontSize(kListToolBarFontSize);
}

void CVantorelDlg::LayoutBars() {
  const wxSize size = GetSize();
  const wxPoint addAt = DluRect(7, 24, 92, 18).GetPosition();
  // The two add bars share the room left of the title bar's corner; in a language with long
  // captions they shrink their captions rather than run into the list tool bar.
  const int addRoom = (size.x - addAt.x - kBarRightMargin - kListBarGap) / 3;
  m_addBar->FitToWidth(addRoom);
  m_folderBar->FitToWidth(addRoom);
  m_addBar->SetSize(addAt.x, addAt.y, m_addBar->GetBarWidth(), m_addBar->GetBarHeight());
  m_folderBar->SetSize(m_addBar->GetRect().GetRight() + 1 + 10, addAt.y, m_folderBar->GetBarWidth(),
                       m_addBar->GetBarHeight());
  m_buildBar->SetSize(size.x - m_buildBar->GetBarWidth() - kBarRightMargin,
                      size.y - kBuildBarBottomOffset, m_buildBar->GetBarWidth(),
                      m_buildBar->GetBarHeight());
  PlaceListBar();
  const wxSize strip = m_titleBar->GetStripSize();
  m_titleBar->SetSize(size.x - strip.x - 7, 2, strip.x, strip.y);
}

void CVantorelDlg::PlaceListBar() {
  // The list tool bar never covers the Add Folder bar: in the room between the two it shrinks
  // its captions (a smaller font, then shortened ones).
  m_listBar->FitToWidth(GetSize().x - kBarRightMargin - m_folderBar->GetRect().GetRight() - 1 -
                        kListBarGap);
  m_listBar->SetSize(GetSize().x - m_listBar->GetBarWidth() - kBarRightMargin, kListBarTop,
                     m_listBar->GetBarWidth(), m_listBar->GetBarHeight());
}

void CVantorelDlg::Retranslate() {
  TranslateDialog(this, IDD);
  TranslateMenu(m_mainMenu.get());
  TranslateMenu(m_listMenu.get());
  m_addBar->SetButtons(kAddFilesBar);
  m_listBar->SetButtons(ListToolBarTable(m_settings.bMergeOn == 1));
  m_buildBar->SetButtons(kBuildBar);
  m_folderBar->SetButtons(kAddFolderBar);
  m_files->Retranslate();
  UpdateStatusLine();
  LayoutBars();
  Refresh();
}

void CVantorelDlg::EndMainWindow() {
  if (IsModal())
    EndModal(wxID_CANCEL);
  else
    Hide();
}

void CVantorelDlg::ShutDown() {
  if (m_shutDown)
    return;
  m_shutDown = true;
  // The reader goes first: no answer may arrive for rows that are being released.
  if (m_reader)
    m_reader->Stop();
  if (!SaveSettings(m_settings))
    ShowMessage(wxT("Save project settings error!"));
  if (m_files) {
    m_files->RemoveAll();
    m_files.reset();
  }
  // The panel views the settings record, which goes with this object: it must go first.
  if (m_panel) {
    m_panel->Destroy();
    m_panel = nullptr;
  }
}

void CVantorelDlg::ReadOutputFolder() {
  m_strOutputFolder = m_outputFolderEdit->GetValue();
  const std::wstring folder = m_strOutputFolder.ToStdWstring();
  if (folder == m_settings.OutputFolder)
    return;
  m_settings.OutputFolder = folder;
  SaveSettingsNow();
}

void CVantorelDlg::SaveSettingsNow() {
  if (m_shutDown || SaveSettings(m_settings) || m_saveFailureShown)
    return;
  m_saveFailureShown = true;
  ShowMessage(wxT("Save project settings error!"));
}

void CVantorelDlg::OnOutputFolderKillFocus(wxFocusEvent &event) {
  event.Skip();
  ReadOutputFolder();
}
