// The editor's text on any system language: run under a Japanese locale and
// under one whose ANSI code page is not 932. The clipboard carries both the
// code page 932 bytes and their Unicode form; a paste prefers Unicode
// (converted with code page 932) unless the bytes are that same text; every
// code page 932 character survives copy and paste byte for byte, also the
// codes that share one Unicode character with another; characters code page
// 932 cannot hold are replaced and reported.
#include "app/controls/zel_edit_window.h"
#include "app/controls/typed_characters.h"
// The editor's window first: its portable headers must come before
// <windows.h> (see platform/win32/windows_api.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/win32/cp932.h"
#include "platform/win32/ui_font.h"
#include "platform/win32/win32_surface.h"
#include "tests/wine/window_helpers.h"
#include "textstore/shift_jis.h"

namespace notavo {
namespace {

using win32::TZelEditWindow;
using win32::WidenCp932;

HWND SharedParent() {
  static const HWND parent = testing::ShowParentWindow(L"NotavoUnicodeTestParent", L"unicode");
  return parent;
}

class UnicodeTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FEditor.Create(SharedParent(), RECT{0, 0, 400, 300});
    ASSERT_NE(FEditor.Handle(), nullptr);
  }
  TClipboard& Clipboard() { return FEditor.Host().Clipboard(); }
  // The editor's bytes as they are (an ANSI call within the process: no
  // conversion on the way).
  std::string Bytes() {
    const LRESULT length = ::SendMessageA(FEditor.Handle(), WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = ::SendMessageA(FEditor.Handle(), WM_GETTEXT, text.size(),
                                       reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, got)));
    return text;
  }

  TZelEditWindow FEditor;
};

// What another program does: Unicode text only (the system makes the other
// forms from it as it likes).
void PutUnicodeOnly(const std::wstring& text) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(::GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  ::SetClipboardData(CF_UNICODETEXT, memory);
  ::CloseClipboard();
}

// Every character of code page 932: the single bytes and every lead/trail
// pair the code page defines.
std::string EveryCharacter() {
  std::string all;
  for (int b = 0x20; b <= 0xFF; ++b) {
    if (b != 0x7F && !IsLeadByte(static_cast<unsigned char>(b)) && b != 0x80 && b != 0xA0 &&
        b < 0xFD) {
      all += static_cast<char>(b);
    }
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      if (win32::TryWidenCp932(pair)) all += pair;
    }
  }
  return all;
}

TEST_F(UnicodeTextTest, CopiedTextReachesUnicodeProgramsAndComesBackByteForByte) {
  const std::string all = EveryCharacter();
  ASSERT_GT(all.size(), 14000u);  // about 7,900 double-byte characters
  std::string error;
  ASSERT_TRUE(Clipboard().SetText(all, error)) << error;
  // A Unicode program reads the right characters...
  EXPECT_EQ(testing::ClipboardAs<wchar_t>(CF_UNICODETEXT), WidenCp932(all));
  // ...and the editor reads its bytes back, the duplicated extension codes
  // (which one Unicode character stands for twice) included.
  const std::optional<std::string> back = Clipboard().GetText(error);
  ASSERT_TRUE(back);
  EXPECT_TRUE(*back == all) << "bytes changed on the way";
  EXPECT_EQ(error, "");
  // Through the editor itself: pasted in, then all of it copied, cleared and
  // pasted again.
  FEditor.Edit().PasteFromClipboard();
  EXPECT_TRUE(Bytes() == all) << Bytes().size() << " bytes, expected " << all.size();
  FEditor.Edit().SelectAll();
  ASSERT_TRUE(FEditor.Edit().CopyToClipboard());
  ::SendMessageA(FEditor.Handle(), WM_CLEAR, 0, 0);
  EXPECT_EQ(Bytes(), "");
  FEditor.Edit().PasteFromClipboard();
  EXPECT_TRUE(Bytes() == all) << Bytes().size() << " bytes, expected " << all.size();
}

TEST_F(UnicodeTextTest, UnicodeFromOtherProgramsIsConvertedWithCodePage932) {
  PutUnicodeOnly(L"日本語テキスト ①≒ abc");
  std::string error;
  EXPECT_EQ(
      Clipboard().GetText(error),
      std::string("\x93\xFA\x96\x7B\x8C\xEA\x83\x65\x83\x4C\x83\x58\x83\x67 \x87\x40\x81\xE0 abc"));
  EXPECT_EQ(error, "");
  // What code page 932 cannot hold becomes '?', and the paste says so.
  PutUnicodeOnly(L"caf\u00E9 \u4E2D\u6587 \U0001F600.");
  const std::optional<std::string> text = Clipboard().GetText(error);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->substr(0, 4), "caf?");
  EXPECT_EQ(text->substr(5, 2), "\x92\x86");  // 中 is in the code page, 文 too
  EXPECT_EQ(text->back(), '.');
  EXPECT_NE(text->find("?"), std::string::npos);
  EXPECT_NE(error, "");
}

// Characters typed on a keyboard reach the message loop as Unicode; the
// loop hands them to the editor as code page 932 bytes (the system would use
// its own code page). WM_UNICHAR from another program is taken the same way.
TEST_F(UnicodeTextTest, TypedAndUnicodeCharactersArriveAsCodePage932) {
  for (const wchar_t unit : std::wstring(L"\u65E5\uFF71a\u00E9\U0001F600")) {
    ::PostMessageW(FEditor.Handle(), WM_CHAR, unit, 1);
  }
  MSG msg{};
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!win32::DispatchCharAsCodePage932(msg)) ::DispatchMessageW(&msg);
  }
  // 日, half-width ｱ, a, then é and the emoji that the code page cannot hold.
  EXPECT_EQ(Bytes(), "\x93\xFA\xB1" "a??");
  EXPECT_EQ(::SendMessageA(FEditor.Handle(), WM_UNICHAR, UNICODE_NOCHAR, 0), TRUE);
  ::SendMessageA(FEditor.Handle(), WM_UNICHAR, 0x3042, 1);   // あ
  ::SendMessageA(FEditor.Handle(), WM_UNICHAR, 0x1F600, 1);  // beyond the code page
  EXPECT_EQ(Bytes(), "\x93\xFA\xB1" "a??\x82\xA0?");
}

// A finished composition of the input method: its result string is read as
// Unicode and converted with code page 932.
TEST_F(UnicodeTextTest, InputMethodResultArrivesAsCodePage932) {
  ::SetFocus(FEditor.Handle());
  HIMC context = ::ImmGetContext(FEditor.Handle());
  ASSERT_NE(context, nullptr);
  ::ImmSetOpenStatus(context, TRUE);
  std::wstring text = L"\u65E5\u672C\u8A9E\u2460";  // 日本語①
  const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  EXPECT_TRUE(::ImmSetCompositionStringW(context, SCS_SETSTR, text.data(), size, nullptr, 0));
  EXPECT_TRUE(::ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
  ::ImmReleaseContext(FEditor.Handle(), context);
  MSG msg{};
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    if (!win32::DispatchCharAsCodePage932(msg)) ::DispatchMessageW(&msg);
  }
  EXPECT_EQ(Bytes(), "\x93\xFA\x96\x7B\x8C\xEA\x87\x40");
}

// The program's own window text (lists, status bar, dialogs, message boxes)
// gets a face that shows ASCII and Japanese on any system language; on a
// Japanese system it is the face the system gives for the name asked for.
TEST(UiFont, ShowsAsciiAndJapaneseOnAnySystemLanguage) {
  const win32::TFont font = win32::CreateUiFont(-12);
  ASSERT_TRUE(font);
  win32::TWindowDc dc(nullptr);
  win32::TDcSlot slot(dc.Get());
  slot.Select(font.Get());
  EXPECT_TRUE(win32::FontShowsCodePage932(dc.Get())) 
      << ::testing::PrintToString(win32::ResolvedFace(font.Get()));
  if (::GetACP() == 932) {
    const win32::TFont asked(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                           SHIFTJIS_CHARSET, 0, 0, 0, 0, win32::kUiFace.data()));
    EXPECT_EQ(win32::ResolvedFace(font.Get()), win32::ResolvedFace(asked.Get()));
  }
}

}  // namespace
}  // namespace notavo
