// The name cut out of a path for the window title, in both modes.
#include "app/file_name_part.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNamePart, LastSeparatorOfEitherKindWins) {
  EXPECT_EQ(FileNamePart(L"C:\\dir\\file.txt"), L"file.txt");
  EXPECT_EQ(FileNamePart(L"C:/dir/file.txt"), L"file.txt");
  EXPECT_EQ(FileNamePart(L"C:\\dir/sub\\file.txt"), L"file.txt");
  EXPECT_EQ(FileNamePart(L"\\\\server\\share\\file.txt"), L"file.txt");
  EXPECT_EQ(FileNamePart(L"file.txt"), L"file.txt");
  EXPECT_EQ(FileNamePart(L"C:file.txt"), L"C:file.txt");  // a drive's colon separates nothing
}

TEST(FileNamePart, NothingAfterTheLastSeparatorIsEmpty) {
  EXPECT_EQ(FileNamePart(L"C:\\dir\\"), L"");
  EXPECT_EQ(FileNamePart(L"/"), L"");
  EXPECT_EQ(FileNamePart(L""), L"");
  EXPECT_EQ(FileNamePart(std::wstring_view()), L"");
}

TEST(FileNamePart, QuotesEndTheName) {
  EXPECT_EQ(FileNamePart(L"\"C:\\My Files\\a.txt\""), L"a.txt");
  EXPECT_EQ(FileNamePart(L"\"a.txt\""), L"a.txt");
  EXPECT_EQ(FileNamePart(L"\"C:\\dir\\a.txt"), L"a.txt");
  EXPECT_EQ(FileNamePart(L"\""), L"");
}

TEST(FileNamePart, DroppedListGivesTheLastName) {
  EXPECT_EQ(FileNamePart(L"C:\\one\\first.bin\nC:\\two\\second.bin"), L"second.bin");
}

TEST(FileNamePart, WithoutExtensionCutsAtTheLastDot) {
  constexpr FileNameMode CUT = FileNameMode::WITHOUT_EXTENSION;
  EXPECT_EQ(FileNamePart(L"C:\\dir\\file.txt", CUT), L"file");
  EXPECT_EQ(FileNamePart(L"C:\\dir\\archive.tar.gz", CUT), L"archive.tar");
  EXPECT_EQ(FileNamePart(L"C:\\dir.d\\file", CUT), L"file");
  EXPECT_EQ(FileNamePart(L"\"C:\\dir\\file.txt\"", CUT), L"file");
}

TEST(FileNamePart, WithoutExtensionKeepsNamesThatHaveNone) {
  constexpr FileNameMode CUT = FileNameMode::WITHOUT_EXTENSION;
  EXPECT_EQ(FileNamePart(L"C:\\dir\\.profile", CUT), L".profile");      // first character is no dot
  EXPECT_EQ(FileNamePart(L"C:\\dir\\file.", CUT), L"file.");            // nothing after the dot
  EXPECT_EQ(FileNamePart(L"C:\\dir\\v1.0 final", CUT), L"v1.0 final");  // space after the dot
  EXPECT_EQ(FileNamePart(L"C:\\dir\\", CUT), L"");
  EXPECT_EQ(FileNamePart(L"x", CUT), L"x");
}

}  // namespace
