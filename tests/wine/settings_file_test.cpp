// The settings file as the program reads and writes it: INI files written
// byte by byte here, read through the system's profile functions, and the
// values applied to an editor the way the main window does at start-up.
// clang-format off
// First: the editor's headers before <windows.h>.
#include "app/controls/zel_edit_window.h"
// clang-format on
#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/editor_settings.h"
#include "app/program_settings.h"
#include "platform/win32/cp932.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;
using testing::WriteWholeFile;

TEST(SettingsInteger, HexadecimalDecimalOrTheDefault) {
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {
      {"12", 12},
      {"+12", 12},
      {"-3", -3},
      {"0x20", 32},
      {"0X1f", 31},
      {"0xFFFFFFFF", -1},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"2147483648", 777},
      {"0x100000000", 777},
      {"", 777},
      {"yes", 777},
      {"12abc", 777},
      {"0x", 777},
      {"-", 777},
      {" 5", 777},
      {"0x-1", 777},
      {"1.5", 777},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseSettingsInteger(c.text, 777), c.expected) << '"' << c.text << '"';
  }
}

// Reads `ini` (bytes of the file; nullptr: no file) as the main window does
// and applies it to an editor with the program's settings.
struct Applied {
  TProgramSettings settings;
  int tabCount = 0;
  bool wordWrapColumnIsMax = false;
  int column = 0;
  bool autoWrap = false, horzScrollBar = false;
  bool showEOF = false, showCR = false;
};

class StartupSettings : public ::testing::Test {
 protected:
  Applied Read(const char* ini) {
    const std::wstring path = FFolder / L"notavo.ini";
    ::DeleteFileW(path.c_str());
    if (ini != nullptr) WriteWholeFile(path, ini);
    TProgramSettings defaults;
    defaults.Width = 638;
    defaults.Height = 478;
    defaults.FontName = "FixedSys";
    defaults.FontSize = 14;
    TSettingsLimits limits{200, 150, 1280, 1024};
    win32::TZelEditWindow window;
    TZelEdit& edit = window.Edit();
    ApplyProgramSettings(edit);
    Applied a;
    a.settings = ReadProgramSettings(TSettingsFile(path), defaults, limits);
    ApplyDisplaySettings(edit, a.settings, 96);
    ApplyWrapMode(edit, a.settings);
    a.tabCount = edit.TabCount();
    a.column = edit.Column();
    a.wordWrapColumnIsMax = edit.Column() == std::max(10, edit.MaxColumn());
    a.autoWrap = edit.AutoWrap();
    a.horzScrollBar = edit.HorzScrollBar();
    a.showEOF = edit.ShowEOF;
    a.showCR = edit.ShowCR;
    return a;
  }
  TempFolder FFolder;
};

TEST_F(StartupSettings, NoFileGivesTheDefaults) {
  const Applied a = Read(nullptr);
  EXPECT_EQ(a.settings.Width, 638);
  EXPECT_EQ(a.settings.Height, 478);
  EXPECT_EQ(a.settings.FontName, "FixedSys");
  EXPECT_EQ(a.settings.FontSize, 14);
  EXPECT_EQ(a.settings.WrapMode(), TWrapMode::NoWrap);
  EXPECT_TRUE(a.wordWrapColumnIsMax);
  EXPECT_TRUE(a.horzScrollBar);
  EXPECT_EQ(a.tabCount, 4);
  const TProgramSettings& s = a.settings;
  EXPECT_TRUE(s.ShowLineNumber && s.ShowUnderLine && s.ShowEOF && s.ShowCR && s.ShowDblSpace &&
              s.ShowTAB);
}

TEST_F(StartupSettings, TabCountTakesItsLowEightBitsThenTheEditorsRange) {
  const std::pair<const char*, int> cases[] = {{"12", 8},    {"0", 1},  {"260", 4},
                                               {"0x103", 3}, {"-1", 8}, {"abc", 4}};
  for (const auto& [value, tabs] : cases) {
    EXPECT_EQ(Read(("[System]\r\nTABCount=" + std::string(value) + "\r\n").c_str()).tabCount, tabs)
        << value;
  }
}

TEST_F(StartupSettings, TheFirstTrueWrapFlagWins) {
  Applied a = Read("[Return]\r\nNoReturn=1\r\nSetReturn=1\r\nSetNum=40\r\n");
  EXPECT_EQ(a.settings.WrapMode(), TWrapMode::NoWrap);
  EXPECT_TRUE(a.wordWrapColumnIsMax && a.horzScrollBar && !a.autoWrap);

  a = Read("[Return]\r\nNoReturn=0\r\nRightReturn=2\r\nSetReturn=1\r\n");
  EXPECT_EQ(a.settings.WrapMode(), TWrapMode::WrapAtWindowEdge);
  EXPECT_TRUE(a.wordWrapColumnIsMax && !a.horzScrollBar && a.autoWrap);

  a = Read("[Return]\r\nNoReturn=0\r\nSetReturn=1\r\nSetNum=0x20\r\n");
  EXPECT_EQ(a.settings.SetNum, 32);
  EXPECT_EQ(a.column, 32);
  EXPECT_TRUE(a.horzScrollBar && !a.autoWrap);

  a = Read("[Return]\r\nNoReturn=0\r\nSetReturn=1\r\nSetNum=3\r\n");
  EXPECT_EQ(a.column, 10) << "the editor's own lower clamp";

  a = Read("[Return]\r\nNoReturn=0\r\n");
  EXPECT_EQ(a.settings.WrapMode(), TWrapMode::Keep);
  EXPECT_EQ(a.column, 1000) << "the editor keeps the program's column";
}

TEST_F(StartupSettings, BooleansAreIntegersAndUnreadableOnesKeepTheDefault) {
  Applied a = Read("[System]\r\nShowEOF=yes\r\nShowCR=0\r\n");
  EXPECT_TRUE(a.showEOF);
  EXPECT_FALSE(a.showCR);
  a = Read("[System]\r\nShowEOF=0\r\nShowCR=-7\r\n");
  EXPECT_FALSE(a.showEOF);
  EXPECT_TRUE(a.showCR);
}

TEST_F(StartupSettings, NamesIgnoreLetterCase) {
  const Applied a = Read("[FORM]\r\nmainform.WIDTH=700\r\n[system]\r\ntabcount=2\r\n");
  EXPECT_EQ(a.settings.Width, 700);
  EXPECT_EQ(a.tabCount, 2);
}

TEST_F(StartupSettings, UnusableSizesFallBackToTheDefaults) {
  struct Case {
    const char* ini;
    int width, height, fontSize;
  };
  const Case cases[] = {
      {"[Form]\r\nMainForm.Width=50\r\nMainForm.Height=20\r\n", 638, 478, 14},
      {"[Form]\r\nMainForm.Width=100000\r\nMainForm.Height=-400\r\n", 638, 478, 14},
      {"[Form]\r\nMainForm.Width=1280\r\nMainForm.Height=150\r\n", 1280, 150, 14},
      {"[Font]\r\nFontSize=0\r\n", 638, 478, 14},
      {"[Font]\r\nFontSize=201\r\n", 638, 478, 14},
      {"[Font]\r\nFontSize=200\r\n", 638, 478, 200},
      {"[Font]\r\nFontSize=1\r\n", 638, 478, 1},
  };
  for (const Case& c : cases) {
    const Applied a = Read(c.ini);
    EXPECT_EQ(a.settings.Width, c.width) << c.ini;
    EXPECT_EQ(a.settings.Height, c.height) << c.ini;
    EXPECT_EQ(a.settings.FontSize, c.fontSize) << c.ini;
  }
}

TEST_F(StartupSettings, ValuesAreCutAt2047BytesWithoutHalfACharacter) {
  const std::string ascii(3000, 'a');
  EXPECT_EQ(Read(("[Font]\r\nFontName=" + ascii + "\r\n").c_str()).settings.FontName,
            ascii.substr(0, 2047));
  std::string kanji;
  while (kanji.size() < 3000) kanji += "\x93\xfa";  // 日
  const std::string name = Read(("[Font]\r\nFontName=" + kanji + "\r\n").c_str()).settings.FontName;
  EXPECT_EQ(name, kanji.substr(0, 2046));
}

TEST(SettingsWriter, WritesTheClosingKeysAndReadsThemBack) {
  TempFolder folder;
  const std::wstring path = folder / L"notavo.ini";
  WriteWholeFile(path, "[Return]\r\nSetNum=40\r\n");
  const std::string face = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック
  WriteClosingSettings(TSettingsFile(path), 700, 500, face, 12);
  const std::string text = ReadWholeFile(path);
  for (const char* line : {"MainForm.Width=700", "MainForm.Height=500", "FontSize=12", "SetNum=40",
                           "[Form]", "[Font]"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  }
  const TSettingsFile file(path);
  EXPECT_EQ(file.ReadString("Font", "FontName", ""), face);
  EXPECT_EQ(file.ReadInteger("Form", "MainForm.Width", 0), 700);
  file.WriteBool("System", "ShowTAB", false);
  EXPECT_FALSE(file.ReadBool("System", "ShowTAB", true));
}

TEST(SettingsWriter, AFileThatCannotBeWrittenSaysWhere) {
  TempFolder folder;
  // A folder in the file's place: nothing can be written there.
  const std::wstring path = folder / L"notavo.ini";
  ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr));
  try {
    WriteClosingSettings(TSettingsFile(path), 700, 500, "FixedSys", 14);
    FAIL() << "writing into a folder succeeded";
  } catch (const ESettingsWriteError& e) {
    EXPECT_EQ(std::string(e.what()), win32::NarrowCp932(path + L" に書き込めません"));
  }
}

}  // namespace
}  // namespace notavo
