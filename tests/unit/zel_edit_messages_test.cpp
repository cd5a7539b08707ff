// The edit-control message interface, including calls with bad arguments:
// they are refused without writing anywhere.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "editor_fixture.h"

namespace notavo {
namespace {

using namespace std::string_literals;
using namespace notavo::win;
using testing::EditorFixture;

class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    f.edit.SetWordWrap(false);
    ASSERT_TRUE(
        f.Load("abc\r\n\x93\xFA"
               "a\r\nlast"));  // "日a" on row 1
  }
  EditorFixture f;
};

TEST_F(Messages, NewControlIsOneEmptyRow) {
  EditorFixture fresh;
  EXPECT_EQ(fresh.Send(WM_GETTEXTLENGTH), 0);
  EXPECT_EQ(fresh.Send(EM_GETLINECOUNT), 1);
  EXPECT_EQ(fresh.Send(EM_LINELENGTH, 0), 0);
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(fresh.Send(WM_GETTEXT, sizeof buffer, EditorFixture::L(buffer)), 0);
  EXPECT_EQ(buffer[0], '\0');
}

TEST_F(Messages, LineCountLengthAndText) {
  EXPECT_EQ(f.Send(EM_GETLINECOUNT), 3);
  EXPECT_EQ(f.Send(EM_LINELENGTH, 0), 5);  // CR LF counted
  EXPECT_EQ(f.Send(EM_LINELENGTH, 2), 4);  // the end mark not
  EXPECT_EQ(f.Send(EM_LINELENGTH, 3), 0);
  EXPECT_EQ(f.Send(EM_LINELENGTH, static_cast<WPARAM>(-1)), 0);  // refused, nothing raised
  EXPECT_EQ(f.Send(WM_GETTEXTLENGTH), 14);
  char text[64];
  EXPECT_EQ(f.Send(WM_GETTEXT, sizeof text, EditorFixture::L(text)), 14);
  EXPECT_STREQ(text,
               "abc\r\n\x93\xFA"
               "a\r\nlast");
}

TEST_F(Messages, GetTextStopsAtTheBufferAndNeverOverruns) {
  char text[8];
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(f.Send(WM_GETTEXT, 5, EditorFixture::L(text)), 4);
  EXPECT_EQ(std::string(text, 5), std::string("abc\r\0", 5));
  EXPECT_EQ(text[5], '#');
  EXPECT_EQ(f.Send(WM_GETTEXT, 1, EditorFixture::L(text)), 0);
  EXPECT_EQ(text[0], '\0');
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(f.Send(WM_GETTEXT, 0, EditorFixture::L(text)), 0);
  EXPECT_EQ(text[0], '#');
  EXPECT_EQ(f.Send(WM_GETTEXT, 10, 0), 0);
}

TEST_F(Messages, GetLineHonoursTheSizeWord) {
  unsigned char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  buffer[0] = 3;
  buffer[1] = 0;
  EXPECT_EQ(f.Send(EM_GETLINE, 0, EditorFixture::L(buffer)), 3);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "abc#");
  buffer[0] = 16;
  buffer[1] = 0;
  EXPECT_EQ(f.Send(EM_GETLINE, 1, EditorFixture::L(buffer)), 5);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 5),
            "\x93\xFA"
            "a\r\n");
  EXPECT_EQ(f.Send(EM_GETLINE, 3, EditorFixture::L(buffer)), 0);
  EXPECT_EQ(f.Send(EM_GETLINE, 0, 0), 0);
  EXPECT_EQ(f.Send(EM_GETLINE, static_cast<WPARAM>(-2), EditorFixture::L(buffer)), 0);
  EditorFixture empty;
  buffer[0] = 16;
  EXPECT_EQ(empty.Send(EM_GETLINE, 0, EditorFixture::L(buffer)), 0);
}

TEST_F(Messages, SetSelThenGetSel) {
  f.Send(EM_SETSEL, MakeLong(1, 0), MakeLong(2, 2));
  std::uint32_t anchor = 0xDEAD, end = 0xBEEF;
  EXPECT_EQ(f.Send(EM_GETSEL, EditorFixture::W(&anchor), EditorFixture::L(&end)), 4 + 5 + 2);
  EXPECT_EQ(anchor, static_cast<std::uint32_t>(MakeLong(1, 0)));
  EXPECT_EQ(end, static_cast<std::uint32_t>(MakeLong(2, 2)));
  EXPECT_EQ(f.edit.GetSelText(),
            "bc\r\n\x93\xFA"
            "a\r\nla");
}

TEST_F(Messages, GetSelWithoutBothAddressesWritesNothing) {
  std::uint32_t anchor = 0xDEAD;
  EXPECT_EQ(f.Send(EM_GETSEL, EditorFixture::W(&anchor), 0), 0);
  EXPECT_EQ(anchor, 0xDEADu);
  EXPECT_EQ(f.Send(EM_GETSEL, 0, EditorFixture::L(&anchor)), 0);
  EXPECT_EQ(anchor, 0xDEADu);
}

TEST_F(Messages, SetSelClampsOutOfRangeEnds) {
  // EM_SETSEL(0, -1): everything, never past the last row's content.
  f.Send(EM_SETSEL, 0, -1);
  EXPECT_EQ(f.edit.CaretRow(), 2);
  EXPECT_EQ(f.edit.CaretCol(), 4);
  EXPECT_EQ(f.edit.GetSelText(),
            "abc\r\n\x93\xFA"
            "a\r\nlast");
  // An anchor beyond its row and a caret on a trail byte.
  f.Send(EM_SETSEL, MakeLong(999, 0), MakeLong(1, 1));
  EXPECT_EQ(f.edit.Anchor(), (TRowPos{0, 3}));
  EXPECT_EQ(f.edit.CaretCol(), 0);
  // The full length of a row that ends a line is the next row's start.
  f.Send(EM_SETSEL, MakeLong(0, 0), MakeLong(5, 0));
  EXPECT_EQ(f.edit.CaretRow(), 1);
  EXPECT_EQ(f.edit.CaretCol(), 0);
  EXPECT_EQ(f.edit.GetSelText(), "abc\r\n");
}

TEST_F(Messages, CaretPositionMessages) {
  const unsigned get = f.edit.GetCaretPosMessage();
  const unsigned set = f.edit.SetCaretPosMessage();
  ASSERT_NE(get, set);
  f.Send(set, 0, MakeLong(1, 1));  // the trail byte of 日
  EXPECT_EQ(f.Send(get), MakeLong(0, 1));
  f.Send(set, 0, MakeLong(60000, 60000));
  EXPECT_EQ(f.Send(get), MakeLong(4, 2));
}

TEST(MessagesBig, CaretRowAbove32767IsReportedAs32767) {
  EditorFixture f;
  f.edit.SetWordWrap(false);
  std::string text;
  for (int i = 0; i < 40010; ++i) text += "x\r\n";
  ASSERT_TRUE(f.Load(text));
  f.edit.GoToPosition(1, 40000, 0);
  EXPECT_EQ(f.edit.CaretRow(), 40000);
  EXPECT_EQ(f.Send(f.edit.GetCaretPosMessage()), MakeLong(1, 32767));
}

TEST_F(Messages, DialogCodeAndBackground) {
  EXPECT_EQ(f.Send(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);
  f.edit.SetWantTabs(false);
  EXPECT_EQ(f.Send(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
  EXPECT_EQ(f.Send(WM_ERASEBKGND), 0);
  EXPECT_FALSE(f.edit.Dispatch(0x9999, 0, 0).has_value());  // left to the window
}

TEST_F(Messages, CopyPutsTheSelectionOnTheClipboard) {
  f.Send(EM_SETSEL, MakeLong(0, 1), MakeLong(0, 2));
  f.Send(WM_COPY);
  ASSERT_TRUE(f.host.clipboardText.has_value());
  EXPECT_EQ(*f.host.clipboardText,
            "\x93\xFA"
            "a\r\n");
}

}  // namespace
}  // namespace notavo
