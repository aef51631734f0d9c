#include "PrivateProfile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class PrivateProfileTest : public ::testing::Test {
protected:
  std::string Write(const std::string &bytes) {
    const std::string path = dir.file("test.ini");
    WriteFileBytes(path, bytes);
    return path;
  }
  std::wstring Read(const std::string &path, const std::wstring &section, const std::wstring &key,
                    size_t size = 1023) {
    return GetPrivateProfileString(section, key, L"<none>", size, path);
  }
  TempDir dir;
};

const char kSample[] = "; comment line\r\n"
                       "[General]\r\n"
                       "language=Deutsch\r\n"
                       "[STRING]\r\n"
                       "138=Dateien hinzuf\xC3\xBCgen\r\n"
                       "  139  =   Erstellen   \r\n"
                       "140=\"  quoted with spaces  \"\r\n"
                       "141='single'\r\n"
                       "142=\"only opening\r\n"
                       "143=\"mixed'\r\n"
                       "144=\"\"\r\n"
                       "145=\r\n"
                       "146\r\n"
                       "147=a=b=c\r\n"
                       "148=tab\there\r\n"
                       "149=\"inner \"quotes\" kept\"\r\n"
                       "138=second copy ignored\n"
                       "[ Spaced Section ]\n"
                       "key=spaced\n"
                       "[string]\n"
                       "150=in a second STRING section\n";

TEST_F(PrivateProfileTest, ReadsValuesByTheWindowsRules) {
  const std::string path = Write(kSample);
  const struct {
    const wchar_t *section;
    const wchar_t *key;
    const wchar_t *expected;
  } cases[] = {
      {L"General", L"language", L"Deutsch"},
      {L"general", L"LANGUAGE", L"Deutsch"},           // names ignore case
      {L"STRING", L"138", L"Dateien hinzuf\u00FCgen"}, // UTF-8 text, first key wins
      {L"STRING", L"139", L"Erstellen"},               // blanks around key and value dropped
      {L" STRING ", L" 139 ", L"Erstellen"},           // the caller's names are trimmed too
      {L"STRING", L"140", L"  quoted with spaces  "},  // one pair of quotes dropped
      {L"STRING", L"141", L"single"},
      {L"STRING", L"142", L"\"only opening"},
      {L"STRING", L"143", L"\"mixed'"},
      {L"STRING", L"144", L""},
      {L"STRING", L"145", L""},      // present but empty: not the default
      {L"STRING", L"146", L""},      // a key without '=' reads as empty
      {L"STRING", L"147", L"a=b=c"}, // value runs to the end of the line
      {L"STRING", L"148", L"tab\there"},
      {L"STRING", L"149", L"inner \"quotes\" kept"},
      {L"STRING", L"150", L"<none>"}, // only the first section of a name is read
      {L"STRING", L"999", L"<none>"},
      {L"Missing", L"138", L"<none>"},
      {L"Spaced Section", L"key", L"spaced"},
      {L"General", L"", L"<none>"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Read(path, c.section, c.key), c.expected) << c.section << "/" << c.key;
}

TEST_F(PrivateProfileTest, MissingFileGivesTheDefault) {
  EXPECT_EQ(Read(dir.file("absent.ini"), L"STRING", L"1"), L"<none>");
  EXPECT_EQ(Read(dir.path(), L"STRING", L"1"), L"<none>"); // a folder is no file
}

TEST_F(PrivateProfileTest, ValuesAreCutToTheBufferSize) {
  const std::string path = Write("[S]\nlong=" + std::string(1500, 'x') + "\nshort=abc\n");
  EXPECT_EQ(Read(path, L"S", L"long").size(), 1022u);
  EXPECT_EQ(Read(path, L"S", L"long", 10), L"xxxxxxxxx");
  EXPECT_EQ(Read(path, L"S", L"short", 3), L"ab");
  EXPECT_EQ(Read(path, L"S", L"short", 0), L"");
  EXPECT_EQ(Read(path, L"S", L"absent", 4), L"<no"); // the default is cut the same way
}

TEST_F(PrivateProfileTest, ReadsUtf16InBothByteOrdersAndUtf8WithBom) {
  const std::u16string text = u"[STRING]\r\n138=\u65E5\u672C\u8A9E \U0001F600\r\n";
  std::string little = "\xFF\xFE", big = "\xFE\xFF";
  for (char16_t unit : text) {
    little += static_cast<char>(unit & 0xFF);
    little += static_cast<char>(unit >> 8);
    big += static_cast<char>(unit >> 8);
    big += static_cast<char>(unit & 0xFF);
  }
  const std::wstring expected = L"\u65E5\u672C\u8A9E \U0001F600";
  EXPECT_EQ(Read(Write(little), L"STRING", L"138"), expected);
  EXPECT_EQ(Read(Write(big), L"STRING", L"138"), expected);
  EXPECT_EQ(Read(Write("\xEF\xBB\xBF[STRING]\n138=\xC3\xA9t\xC3\xA9\n"), L"STRING", L"138"),
            L"\u00E9t\u00E9");
}

TEST_F(PrivateProfileTest, BadTextNeitherCrashesNorHidesOtherKeys) {
  // Not valid UTF-8: the broken bytes are carried as they are, the neighbouring lines still work.
  const std::string path = Write("[STRING]\n1=ok\n2=bad\xFF\xFE\xC3\n3=\x80\x81\n4=after\n");
  EXPECT_EQ(Read(path, L"STRING", L"1"), L"ok");
  EXPECT_EQ(Read(path, L"STRING", L"2"), L"bad\xDCFF\xDCFE\xDCC3");
  EXPECT_EQ(Read(path, L"STRING", L"4"), L"after");
  // Binary garbage with NULs and an odd-length UTF-16 file.
  EXPECT_EQ(Read(Write(std::string("\0\0[S]\0\nk=v\n", 12)), L"S", L"k"), L"<none>");
  const char oddUtf16[] = "\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0\n";
  EXPECT_EQ(Read(Write(std::string(oddUtf16, sizeof oddUtf16 - 1)), L"S", L"k"), L"v");
}

TEST_F(PrivateProfileTest, VeryLongLinesAreHandled) {
  const std::string path =
      Write("[S]\n" + std::string(100000, 'y') + "\nk" + std::string(100000, ' ') + "=v\n[" +
            std::string(100000, 'z') + "]\nk=other\n");
  EXPECT_EQ(Read(path, L"S", L"k"), L"v");
  EXPECT_EQ(Read(path, L"S", std::wstring(100000, L'y')), L"");
  EXPECT_EQ(Read(path, std::wstring(100000, L'z'), L"k"), L"other");
}

TEST_F(PrivateProfileTest, LineEndingsOfEveryKind) {
  const std::string path = Write("[A]\rk=cr\r[B]\nk=lf\n[C]\r\nk=crlf");
  EXPECT_EQ(Read(path, L"A", L"k"), L"cr");
  EXPECT_EQ(Read(path, L"B", L"k"), L"lf");
  EXPECT_EQ(Read(path, L"C", L"k"), L"crlf"); // last line without an end
}

TEST_F(PrivateProfileTest, IntegersAsTheUpdateCheckReadsThem) {
  const std::string path = Write("[Gerneral]\nversion=191\nbuild= 1234 \nneg=-5\nplus=+7\n"
                                 "hex=0x1F\ntrail=12abc\nword=abc\nempty=\nquoted=\"42\"\n");
  const struct {
    const wchar_t *key;
    int expected;
  } cases[] = {{L"version", 191}, {L"build", 1234}, {L"neg", -5}, {L"plus", 7},
               {L"hex", 31},      {L"trail", 12},   {L"word", 0}, {L"empty", -1},
               {L"quoted", 42},   {L"absent", -1}};
  for (const auto &c : cases)
    EXPECT_EQ(GetPrivateProfileInt(L"Gerneral", c.key, -1, path), c.expected) << c.key;
  EXPECT_EQ(GetPrivateProfileInt(L"Gerneral", L"version", 0, dir.file("none.ini")), 0);
}

} // namespace
