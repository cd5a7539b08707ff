// The Win32 file access behind platform/file_io.h, exercised on real files.
#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/win32/cp932.h"
#include "platform/win32/unique_handle.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using testing::ListFolder;
using testing::ReadWholeFile;
using testing::TempFolder;
using testing::WriteWholeFile;
using win32::NarrowCp932;

// Content where every position differs from its neighbours, so a dropped,
// doubled or reordered block shows.
std::string Pattern(std::size_t size) {
  std::string text(size, '\0');
  for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>((i * 7919 + i / 251) & 0xFF);
  return text;
}

// Saves `content` through WriteFileAtomically, handing it over in pieces of
// `piece` bytes (0: all at once).
void Save(const std::string& fileName, const std::string& content, std::size_t piece = 0) {
  WriteFileAtomically(fileName, [&](FileWriter& writer) {
    if (piece == 0) {
      writer.Write(content.data(), content.size());
      return;
    }
    for (std::size_t at = 0; at < content.size(); at += piece) {
      writer.Write(content.data() + at, std::min(piece, content.size() - at));
    }
  });
}

// Reads through OpenFileForReading with a buffer of `bufferSize` bytes.
std::string Load(const std::string& fileName, std::size_t bufferSize = 4096) {
  std::unique_ptr<FileReader> reader = OpenFileForReading(fileName);
  std::string content;
  std::vector<char> buffer(bufferSize);
  while (std::size_t done = reader->Read(buffer.data(), buffer.size())) {
    content.append(buffer.data(), done);
  }
  EXPECT_EQ(reader->Size(), content.size());
  return content;
}

std::string SavePrefix() { return NarrowCp932(L"ファイルを保存できません: "); }
std::string OpenPrefix() { return NarrowCp932(L"ファイルを開けません: "); }

struct ProducerFailure {};

class FileIoTest : public ::testing::Test {
 protected:
  // The CP932 form of a path inside the scratch folder, as the program
  // would hand it over.
  std::string Cp932Path(const std::wstring& leaf) const { return NarrowCp932(FFolder / leaf); }
  std::wstring WidePath(const std::wstring& leaf) const { return FFolder / leaf; }
  std::vector<std::wstring> Entries() const { return ListFolder(FFolder.Path()); }

  TempFolder FFolder;
};

// --- Round trips -----------------------------------------------------------

struct RoundTripCase {
  const char* label;
  std::string content;
  std::size_t writePiece;
  std::size_t readBuffer;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.label; }

class FileIoRoundTrip : public FileIoTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(FileIoRoundTrip, NewFileThenReplacedFileReadBackExactly) {
  const RoundTripCase& c = GetParam();
  const std::string name = Cp932Path(L"doc.txt");

  Save(name, c.content, c.writePiece);
  EXPECT_EQ(ReadWholeFile(WidePath(L"doc.txt")), c.content);
  EXPECT_EQ(Load(name, c.readBuffer), c.content);

  // Second save replaces the file: the result must be the new content
  // only, whatever the lengths of old and new.
  const std::string replacement =
      c.content.size() > 10 ? c.content.substr(c.content.size() / 3) : c.content + Pattern(70000);
  Save(name, replacement, c.writePiece);
  EXPECT_EQ(Load(name, c.readBuffer), replacement);
  EXPECT_EQ(Entries(), std::vector<std::wstring>{L"doc.txt"});
}

INSTANTIATE_TEST_SUITE_P(
    Contents, FileIoRoundTrip,
    ::testing::Values(RoundTripCase{"Empty", "", 0, 1}, RoundTripCase{"OneByte", "x", 1, 1},
                      RoundTripCase{"CrLfText", "abc\r\ndef\r\n", 3, 2},
                      RoundTripCase{"AllByteValues", Pattern(256) + std::string(1, '\0'), 7, 5},
                      RoundTripCase{"JustUnderBuffer", Pattern(65535), 0, 65536},
                      RoundTripCase{"ExactlyOneBuffer", Pattern(65536), 1000, 4096},
                      RoundTripCase{"LargePiecesBypassBuffer", Pattern(300000), 65537, 100000},
                      RoundTripCase{"ManySmallPieces", Pattern(200000), 13, 333}),
    [](const auto& info) { return std::string(info.param.label); });

// --- Failed saves leave everything as it was -------------------------------

struct ProducerThrowsCase {
  const char* label;
  bool targetExists;
  std::size_t bytesBeforeThrow;  // some of it already reached the disk past 64 KiB
};

void PrintTo(const ProducerThrowsCase& c, std::ostream* os) { *os << c.label; }

class FileIoProducerThrows : public FileIoTest,
                             public ::testing::WithParamInterface<ProducerThrowsCase> {};

TEST_P(FileIoProducerThrows, KeepsOldFileRethrowsAndLeavesNoTemporary) {
  const ProducerThrowsCase& c = GetParam();
  const std::string old = "old content\r\n";
  if (c.targetExists) WriteWholeFile(WidePath(L"doc.txt"), old);
  const std::vector<std::wstring> before = Entries();

  const std::string partial = Pattern(c.bytesBeforeThrow);
  EXPECT_THROW(WriteFileAtomically(Cp932Path(L"doc.txt"),
                                   [&](FileWriter& writer) {
                                     writer.Write(partial.data(), partial.size());
                                     throw ProducerFailure{};
                                   }),
               ProducerFailure);

  EXPECT_EQ(Entries(), before);
  if (c.targetExists) {
    EXPECT_EQ(ReadWholeFile(WidePath(L"doc.txt")), old);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FileIoProducerThrows,
                         ::testing::Values(ProducerThrowsCase{"ExistingNothingWritten", true, 0},
                                           ProducerThrowsCase{"ExistingPartlyWritten", true, 100},
                                           ProducerThrowsCase{"ExistingPastFirstBuffer", true,
                                                              200000},
                                           ProducerThrowsCase{"NewNothingWritten", false, 0},
                                           ProducerThrowsCase{"NewPastFirstBuffer", false, 200000}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(FileIoTest, ReadOnlyTargetRefusesAndStaysIntact) {
  const std::wstring path = WidePath(L"locked.txt");
  WriteWholeFile(path, "keep me");
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  const std::string name = Cp932Path(L"locked.txt");

  try {
    Save(name, "overwritten");
    FAIL() << "saving over a read-only file succeeded";
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(SavePrefix() + name, 0), 0u) << e.what();
  }
  EXPECT_EQ(ReadWholeFile(path), "keep me");
  EXPECT_NE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(Entries(), std::vector<std::wstring>{L"locked.txt"});
}

TEST_F(FileIoTest, TargetHeldOpenWithoutSharingFailsAndStaysIntact) {
  const std::wstring path = WidePath(L"busy.txt");
  WriteWholeFile(path, "in use");
  {
    win32::UniqueHandle holder(
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_THROW(Save(Cp932Path(L"busy.txt"), "replacement"), EFileError);
  }
  EXPECT_EQ(ReadWholeFile(path), "in use");
  EXPECT_EQ(Entries(), std::vector<std::wstring>{L"busy.txt"});
}

TEST_F(FileIoTest, UnwritableDestinationsThrowAndCreateNothing) {
  ASSERT_TRUE(::CreateDirectoryW(WidePath(L"folder").c_str(), nullptr));
  const std::vector<std::wstring> before = Entries();

  for (const std::wstring& leaf : {std::wstring(L"missing\\doc.txt"), std::wstring(L"folder")}) {
    SCOPED_TRACE(NarrowCp932(leaf));
    const std::string name = Cp932Path(leaf);
    try {
      Save(name, "text");
      ADD_FAILURE() << "save succeeded";
    } catch (const EFileError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(SavePrefix() + name, 0), 0u) << e.what();
    }
    EXPECT_EQ(Entries(), before);
  }
  EXPECT_TRUE(ListFolder(WidePath(L"folder")).empty());
}

// --- Attributes survive a replace ------------------------------------------

class FileIoKeepsAttributes : public FileIoTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(FileIoKeepsAttributes, AfterReplace) {
  const DWORD attributes = GetParam();
  const std::wstring path = WidePath(L"marked.txt");
  WriteWholeFile(path, "old");
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attributes));
  ASSERT_EQ(::GetFileAttributesW(path.c_str()) & attributes, attributes)
      << "the file system here does not keep these attributes";

  Save(Cp932Path(L"marked.txt"), "new");

  EXPECT_EQ(ReadWholeFile(path), "new");
  EXPECT_EQ(::GetFileAttributesW(path.c_str()) & attributes, attributes);
  EXPECT_EQ(Entries(), std::vector<std::wstring>{L"marked.txt"});
}

INSTANTIATE_TEST_SUITE_P(Attributes, FileIoKeepsAttributes,
                         ::testing::Values(FILE_ATTRIBUTE_HIDDEN,
                                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE,
                                           FILE_ATTRIBUTE_SYSTEM));

// --- Names are code page 932 bytes -----------------------------------------

struct JapaneseNameCase {
  const char* label;
  std::string cp932;   // spelled as bytes so the test does not trust the converter
  std::wstring utf16;  // what the file system must show
};

void PrintTo(const JapaneseNameCase& c, std::ostream* os) { *os << c.label; }

class FileIoJapaneseNames : public FileIoTest,
                            public ::testing::WithParamInterface<JapaneseNameCase> {};

TEST_P(FileIoJapaneseNames, SaveAndLoadUnderTheSameName) {
  const JapaneseNameCase& c = GetParam();
  const std::string name = NarrowCp932(FFolder.Path() + L"\\") + c.cp932;
  const std::string content = "\x82\xa0\x82\xa2\r\n";  // あい

  Save(name, content);

  EXPECT_EQ(Entries(), std::vector<std::wstring>{c.utf16});
  EXPECT_EQ(ReadWholeFile(WidePath(c.utf16)), content);
  EXPECT_EQ(Load(name), content);
  Save(name, content + content);  // and once more through the replace path
  EXPECT_EQ(Load(name), content + content);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileIoJapaneseNames,
    ::testing::Values(JapaneseNameCase{"Kanji", "\x93\xfa\x96\x7b\x8c\xea.txt", L"日本語.txt"},
                      // Second byte 0x5C, the code of '\': must not be taken for a separator.
                      JapaneseNameCase{"TrailByteBackslash", "\x95\x5c\x8e\xa6.txt", L"表示.txt"},
                      JapaneseNameCase{"KatakanaTrailBackslash", "\x83\x5c\x81\x5b\x83\x58",
                                       L"ソース"},
                      // Characters only code page 932 (not plain Shift-JIS) has.
                      JapaneseNameCase{"NecSpecial", "\x87\x40\x87\x41.txt", L"①②.txt"},
                      JapaneseNameCase{"IbmExtension", "\xfb\xfc.txt", L"髙.txt"},
                      JapaneseNameCase{"HalfWidthKana", "\xc3\xbd\xc4.txt", L"ﾃｽﾄ.txt"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(FileIoTest, JapaneseFolderNameWithBackslashTrailByte) {
  ASSERT_TRUE(::CreateDirectoryW(WidePath(L"表").c_str(), nullptr));
  const std::string name = NarrowCp932(FFolder.Path()) + "\\\x95\x5c\\\x83\x5c.txt";  // 表\ソ.txt

  Save(name, "inside");

  EXPECT_EQ(ReadWholeFile(WidePath(L"表\\ソ.txt")), "inside");
  EXPECT_EQ(ListFolder(WidePath(L"表")), std::vector<std::wstring>{L"ソ.txt"});
  EXPECT_EQ(Load(name), "inside");
}

// --- Reading ----------------------------------------------------------------

TEST_F(FileIoTest, OpeningWhatIsNotAReadableFileThrows) {
  ASSERT_TRUE(::CreateDirectoryW(WidePath(L"folder").c_str(), nullptr));
  for (const std::wstring& leaf :
       {std::wstring(L"missing.txt"), std::wstring(L"no\\such.txt"), std::wstring(L"folder")}) {
    SCOPED_TRACE(NarrowCp932(leaf));
    const std::string name = Cp932Path(leaf);
    try {
      OpenFileForReading(name);
      ADD_FAILURE() << "opened";
    } catch (const EFileError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(OpenPrefix() + name, 0), 0u) << e.what();
    }
  }
}

TEST_F(FileIoTest, NamesThatAreNotCodePage932Throw) {
  // A lead byte with nothing after it, and an embedded NUL.
  for (const std::string& leaf : {std::string("bad\x81"), std::string("a\0b", 3)}) {
    const std::string name = NarrowCp932(FFolder.Path() + L"\\") + leaf;
    EXPECT_THROW(OpenFileForReading(name), EFileError);
    EXPECT_THROW(Save(name, "x"), EFileError);
  }
  EXPECT_TRUE(Entries().empty());
}

TEST_F(FileIoTest, ReadsAFileAnotherProgramIsWriting) {
  const std::wstring path = WidePath(L"log.txt");
  win32::UniqueHandle writer(::CreateFileW(path.c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                           0, nullptr));
  ASSERT_TRUE(writer);
  DWORD done = 0;
  ASSERT_TRUE(::WriteFile(writer.Get(), "line 1\r\n", 8, &done, nullptr));

  EXPECT_EQ(Load(Cp932Path(L"log.txt")), "line 1\r\n");
}

TEST_F(FileIoTest, ReaderReportsSizeBeforeReadingAndZeroAtEnd) {
  WriteWholeFile(WidePath(L"a.txt"), Pattern(70000));
  std::unique_ptr<FileReader> reader = OpenFileForReading(Cp932Path(L"a.txt"));
  EXPECT_EQ(reader->Size(), 70000u);
  std::vector<char> buffer(100000);
  std::size_t total = 0;
  while (std::size_t done = reader->Read(buffer.data() + total, buffer.size() - total)) {
    total += done;
  }
  EXPECT_EQ(total, 70000u);
  EXPECT_EQ(reader->Read(buffer.data(), buffer.size()), 0u);
}

}  // namespace
}  // namespace notavo
