#include "CoolBarTables.h"
#include "ResourceBitmap.h"
#include "ShellWindowFixture.h"

#include <wx/image.h>

namespace {

TEST(ResourceBitmap, LoadsTheProgramsBitmapsByIdentifier) {
  const wxBitmap strip = LoadBitmapResource(146);
  ASSERT_TRUE(strip.IsOk());
  EXPECT_EQ(strip.GetSize(), wxSize(91, 104));
  EXPECT_FALSE(LoadBitmapResource(9999).IsOk());
}

TEST(ResourceBitmap, TheProgramIconComesInSeveralSizes) {
  const wxIconBundle icons = LoadIconResource(128);
  ASSERT_EQ(icons.GetIconCount(), 5u);
  EXPECT_EQ(icons.GetIcon(wxSize(24, 24), wxIconBundle::FALLBACK_NONE).GetWidth(), 24);
  EXPECT_TRUE(icons.GetIcon(wxSize(256, 256), wxIconBundle::FALLBACK_NONE).IsOk());
  EXPECT_TRUE(LoadIconResource(1).IsEmpty());
}

TEST(ResourceBitmap, EveryPictureTheBarsCutLiesInsideItsBitmap) {
  std::vector<const CoolToolButtonDef *> defs = {kAddFilesBar, kAddFolderBar, kBuildBar};
  for (bool on : {false, true})
    for (int i = 0; i < kListToolBarCount; ++i)
      defs.push_back(ListToolBarTable(on) + i);
  for (const CoolToolButtonDef *def : defs) {
    SCOPED_TRACE(def->bitmap);
    const wxBitmap bitmap = LoadBitmapResource(def->bitmap);
    ASSERT_TRUE(bitmap.IsOk());
    const wxRect whole(bitmap.GetSize());
    const wxPoint at[] = {{def->normalX, def->normalY},
                          {def->hoverX, def->hoverY},
                          {def->pressedX, def->pressedY},
                          {def->disabledX, def->disabledY}};
    for (const wxPoint &p : at)
      EXPECT_TRUE(whole.Contains(wxRect(p, wxSize(def->width, def->height))));
  }
  const wxRect strip(LoadBitmapResource(kTitleBarBitmap).GetSize());
  for (const wxRect &state : kTitleBarStates)
    EXPECT_TRUE(strip.Contains(state));
}

TEST(ResourceBitmap, TheSkinCoverAndDialogPicturesHaveTheirSizes) {
  struct Case {
    int id;
    wxSize size;
  } cases[] = {{140, {900, 730}}, {166, {877, 404}}, {167, {504, 315}}, {155, {434, 55}}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(LoadBitmapResource(c.id).GetSize(), c.size);
  }
}

TEST(ResourceBitmap, CutPictureKeepsTheRectangleAndBlackensWhatLiesOutside) {
  wxImage image(4, 4);
  image.SetRGB(wxRect(0, 0, 4, 4), 10, 200, 30);
  const wxBitmap source(image);
  const wxBitmap cut = CutPicture(source, wxRect(2, 2, 4, 4));
  ASSERT_TRUE(cut.IsOk());
  EXPECT_EQ(cut.GetSize(), wxSize(4, 4));
  EXPECT_EQ(PixelAt(cut, 0, 0), wxColour(10, 200, 30));
  EXPECT_EQ(PixelAt(cut, 1, 1), wxColour(10, 200, 30));
  EXPECT_EQ(PixelAt(cut, 3, 3), wxColour(0, 0, 0));
  EXPECT_FALSE(CutPicture(source, wxRect(0, 0, 0, 5)).IsOk());
  EXPECT_TRUE(CutPicture(wxBitmap(), wxRect(0, 0, 2, 2)).IsOk());
}

} // namespace
