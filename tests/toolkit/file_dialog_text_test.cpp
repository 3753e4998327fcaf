// The filter list and the initial-file split handed to the open-file dialog.
#include "toolkit/file_dialog_text.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace std::literals;

namespace {

// The whole block, zeros included, so that the terminators are compared too.
std::wstring_view FilterUnits(const MainHeapText& list, const wchar_t* filter) {
  return std::wstring_view(list.get(), std::wcslen(filter ? filter : L"") + 3);
}

TEST(FilterList, OnePairBecomesZeroSeparatedWithDoubleZeroEnd) {
  const wchar_t* filter = L"All Files (*.*)|*.*";
  const MainHeapText list = MakeFilterList(filter);
  ASSERT_TRUE(list);
  EXPECT_EQ(FilterUnits(list, filter), L"All Files (*.*)\0*.*\0\0\0"sv);
}

TEST(FilterList, TwoPairs) {
  const wchar_t* filter = L"Text (*.txt)|*.txt|All (*.*)|*.*";
  const MainHeapText list = MakeFilterList(filter);
  ASSERT_TRUE(list);
  EXPECT_EQ(FilterUnits(list, filter), L"Text (*.txt)\0*.txt\0All (*.*)\0*.*\0\0\0"sv);
}

TEST(FilterList, NullFilterIsTheEmptyList) {
  const MainHeapText list = MakeFilterList(nullptr);
  ASSERT_TRUE(list);
  EXPECT_EQ(FilterUnits(list, nullptr), L"\0\0\0"sv);
}

struct Split {
  std::wstring directory;
  std::wstring name;
};

Split SplitOf(const wchar_t* initialFile) {
  wchar_t fileName[FILE_NAME_CAPACITY] = {};
  const MainHeapText directory = SplitInitialFile(initialFile, fileName);
  EXPECT_TRUE(directory);
  return {directory ? directory.get() : L"<none>", fileName};
}

TEST(InitialFile, DirectoryAndName) {
  const Split split = SplitOf(L"C:\\data\\report.txt");
  EXPECT_EQ(split.directory, L"C:\\data");
  EXPECT_EQ(split.name, L"report.txt");
}

TEST(InitialFile, NameAloneHasEmptyDirectory) {
  const Split split = SplitOf(L"report.txt");
  EXPECT_EQ(split.directory, L"");
  EXPECT_EQ(split.name, L"report.txt");
}

TEST(InitialFile, LeadingBackslashIsNoDirectoryAndEmptiesTheName) {
  const Split split = SplitOf(L"\\report.txt");
  EXPECT_EQ(split.directory, L"");
  EXPECT_EQ(split.name, L"");
}

TEST(InitialFile, WildcardNameGivesEmptyBox) {
  const Split split = SplitOf(L"*.*");
  EXPECT_EQ(split.directory, L"");
  EXPECT_EQ(split.name, L"");
  EXPECT_EQ(SplitOf(L"C:\\data\\*.txt").directory, L"C:\\data");
  EXPECT_EQ(SplitOf(L"C:\\data\\*.txt").name, L"");
}

TEST(InitialFile, NamesTheFileSystemRefusesAreEmptied) {
  for (const wchar_t* refused :
       {L"C:\\data\\a?b", L"C:\\data\\a/b", L"C:\\data\\a\tb", L"C:\\data\\a|b", L"C:\\data\\a\"b",
        L"C:\\data\\c:b", L"C:\\data\\", L""}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(refused)));
    EXPECT_EQ(SplitOf(refused).name, L"");
  }
  EXPECT_EQ(SplitOf(L"C:\\data\\r\u00e9sum\u00e9 (final) #2.txt").name,
            L"r\u00e9sum\u00e9 (final) #2.txt");
}

TEST(InitialFile, LongNameIsCutToTheBoxAndTerminated) {
  const std::wstring longName(400, L'n');
  const Split split = SplitOf((L"C:\\data\\" + longName).c_str());
  EXPECT_EQ(split.name, longName.substr(0, FILE_NAME_CAPACITY - 1));
}

TEST(DialogTexts, EveryBlockGoesBackToTheHeap) {
  const size_t before = MainHeapBytesInUse();
  {
    wchar_t fileName[FILE_NAME_CAPACITY] = {};
    const MainHeapText list = MakeFilterList(L"a|b");
    const MainHeapText directory = SplitInitialFile(L"C:\\x\\y", fileName);
    EXPECT_GT(MainHeapBytesInUse(), before);
  }
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

}  // namespace
