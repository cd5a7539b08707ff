// Saving never destroys the previous file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/file_io.h"
#include "test_files.h"
#include "textstore/zel_strings.h"

namespace notavo {
namespace {

using testing::CountEntries;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

TEST(AtomicSave, ProducerFailureKeepsOldFileAndRemovesTemporary) {
  ScratchFolder folder;
  const std::string target = folder.File("doc.txt");
  WriteBytes(target, "precious");
  EXPECT_THROW(WriteFileAtomically(target,
                                   [](FileWriter& out) {
                                     out.Write("partial", 7);
                                     throw EFileError("disk failed");
                                   }),
               EFileError);
  EXPECT_EQ(ReadBytes(target), "precious");
  EXPECT_EQ(CountEntries(folder.path()), 1);
}

TEST(AtomicSave, ReplacesContentAndKeepsPermissions) {
  ScratchFolder folder;
  const std::string target = folder.File("doc.txt");
  WriteBytes(target, "old");
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  TZelStrings s;
  s.SetText(std::string("new\r\ntext\0\0", 11));
  s.SaveToFile(target);
  EXPECT_EQ(ReadBytes(target), "new\r\ntext");
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(CountEntries(folder.path()), 1);
}

TEST(AtomicSave, UnwritableFolderFailsWithoutTouchingTarget) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  ScratchFolder folder;
  const std::string target = folder.File("doc.txt");
  WriteBytes(target, "old");
  ASSERT_EQ(chmod(folder.path().c_str(), 0500), 0);
  TZelStrings s;
  s.SetText(std::string("x\0\0", 3));
  EXPECT_THROW(s.SaveToFile(target), EFileError);
  chmod(folder.path().c_str(), 0700);
  EXPECT_EQ(ReadBytes(target), "old");
}

TEST(AtomicSave, MissingFolderFails) {
  ScratchFolder folder;
  TZelStrings s;
  s.SetText(std::string("x\0\0", 3));
  EXPECT_THROW(s.SaveToFile(folder.File("no/such/dir.txt")), EFileError);
}

TEST(AtomicSave, WritesLargeRowsThroughTheBuffer) {
  ScratchFolder folder;
  const std::string big(300000, 'z');
  TZelStrings s;
  s.Add(big + "\r\n");
  s.Add("a\r\n");
  s.Add(big + std::string("\0\0", 2));
  s.SaveToFile(folder.File("big.txt"));
  EXPECT_EQ(ReadBytes(folder.File("big.txt")), big + "\r\na\r\n" + big);
}

}  // namespace
}  // namespace notavo
