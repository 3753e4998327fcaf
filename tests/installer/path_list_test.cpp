// The PATH rules on values of the shapes users' machines hold: long, quoted, with empty entries,
// with the entry already there in another spelling.
#include "installer/setup_helper/path_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::u16string FOLDER =
    u"C:\\Users\\J\u00FCrgen\\AppData\\Local\\Programs\\Calculate Checksums";

std::u16string LongPath(size_t length) {
  std::u16string path;
  for (int i = 0; path.size() < length; ++i) {
    path += u"C:\\tools\\t" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u";";
  }
  path.resize(length);
  return path;
}

TEST(PathWithEntry, AppendsAfterASeparatorAndTakingItOutRestoresEveryByte) {
  for (std::u16string path :
       {std::u16string(u"C:\\a;%USERPROFILE%\\bin"), std::u16string(u"C:\\a;"),
        std::u16string(u";;C:\\a;;"), LongPath(1023), LongPath(8000)}) {
    std::u16string added = PathWithEntry(path, FOLDER).value();
    EXPECT_EQ(added, path + u";" + FOLDER);
    EXPECT_EQ(PathWithoutEntry(added, FOLDER).value(), path);
  }
}

TEST(PathWithEntry, AnEmptyPathBecomesTheEntryAlone) {
  EXPECT_EQ(PathWithEntry(u"", FOLDER).value(), FOLDER);
  EXPECT_EQ(PathWithoutEntry(FOLDER, FOLDER).value(), u"");
}

TEST(PathWithEntry, FindsTheFolderInAnySpelling) {
  std::u16string upper = u"c:\\USERS\\J\u00DCRGEN\\appdata\\local\\programs\\calculate checksums";
  for (std::u16string present : {FOLDER, upper, FOLDER + u"\\", u"\"" + FOLDER + u"\\\""}) {
    EXPECT_FALSE(PathWithEntry(u"C:\\a;" + present + u";C:\\b", FOLDER)) << present.size();
  }
  EXPECT_TRUE(PathWithEntry(u"C:\\a;" + FOLDER + u" 2", FOLDER));
  EXPECT_TRUE(PathWithEntry(u"C:\\a;" + FOLDER.substr(0, FOLDER.size() - 1), FOLDER));
}

// Folders of the shapes a command line or the system may mangle: one holding the separator, which
// must go in quotes to stay one entry, and a drive's root, which ends in a backslash.
TEST(PathWithEntry, WritesEachFolderShapeAsOneEntryAndTakesItOutAgain) {
  struct Case {
    std::u16string folder;
    std::u16string path;
    std::u16string added;
  };
  for (const Case& c : {
           Case{u"D:\\a;b\\bin", u"C:\\x", u"C:\\x;\"D:\\a;b\\bin\""},
           Case{u"D:\\a;b\\bin", u"", u"\"D:\\a;b\\bin\""},
           Case{u"D:\\;", u"C:\\x;;", u"C:\\x;;;\"D:\\;\""},
           Case{u"D:\\", u"C:\\x", u"C:\\x;D:\\"},
       }) {
    std::u16string added = PathWithEntry(c.path, c.folder).value();
    EXPECT_EQ(added, c.added);
    EXPECT_FALSE(PathWithEntry(added, c.folder));
    EXPECT_EQ(PathWithoutEntry(added, c.folder).value(), c.path);
  }
}

TEST(IsFolderName, RefusesWhatACommandLineCutWrongly) {
  EXPECT_TRUE(IsFolderName(u"D:\\"));
  EXPECT_TRUE(IsFolderName(u"D:\\a;b"));
  EXPECT_FALSE(IsFolderName(u"D:\""));
  EXPECT_FALSE(IsFolderName(u""));
}

TEST(PathWithoutEntry, KeepsEveryOtherEntryInItsPlace) {
  std::u16string path = u"C:\\a;\"C:\\x;y\";;" + FOLDER + u"\\;C:\\b;" + FOLDER;
  EXPECT_EQ(PathWithoutEntry(path, FOLDER).value(), u"C:\\a;\"C:\\x;y\";;C:\\b");
  EXPECT_FALSE(PathWithoutEntry(u"C:\\a;C:\\b", FOLDER));
  // A separator inside quotes belongs to the entry.
  EXPECT_FALSE(PathWithoutEntry(u"\"C:\\a;" + FOLDER + u"\"", FOLDER));
}

TEST(PathQuotesClosed, TellsAPathThatWouldSwallowAnAddedEntry) {
  EXPECT_TRUE(PathQuotesClosed(u"\"C:\\x;y\";C:\\b"));
  EXPECT_FALSE(PathQuotesClosed(u"C:\\a;\"C:\\b"));
}

std::string Bytes(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

TEST(ReadRegistryText, KeepsTheTerminatorAsStoredAndRefusesWhatIsNoText) {
  for (std::u16string terminator :
       {std::u16string(), std::u16string(1, u'\0'), std::u16string(3, u'\0')}) {
    std::string stored = Bytes(u"C:\\a;C:\\\u20AC" + terminator);
    RegistryText text = ReadRegistryText(stored).value();
    EXPECT_EQ(text.text, u"C:\\a;C:\\\u20AC");
    EXPECT_EQ(RegistryBytes(text), stored);
  }
  EXPECT_FALSE(ReadRegistryText(Bytes(u"C:\\a") + "\x01"));
  EXPECT_FALSE(ReadRegistryText(Bytes(std::u16string(u"C:\\a\0C:\\b\0", 10))));
}

}  // namespace
