// Where a listed name leads: the one path both programs open for every form of name and of sums
// file path, and the names read with Windows' eyes as reaching a share, the device namespace or
// a device, which are refused where Windows would follow them.
#include "sums/listed_file.h"

#include <gtest/gtest.h>

#include "sums/outside_names.h"

namespace {

struct ReachCase {
  const wchar_t* name;
  NameReach reach;
};

constexpr ReachCase REACH_CASES[] = {
    {L"a.txt", NameReach::LOCAL},
    {L"../up.txt", NameReach::LOCAL},
    {L"C:\\dl\\a.txt", NameReach::LOCAL},
    {L"\\dl\\a.txt", NameReach::LOCAL},
    {L"CONSOLE", NameReach::LOCAL},
    {L"COM10", NameReach::LOCAL},
    {L" CON", NameReach::LOCAL},
    {L"nul\\a.txt", NameReach::LOCAL},
    {L"\\\\host\\share\\a.txt", NameReach::NETWORK},
    {L"//host/share/a.txt", NameReach::NETWORK},
    {L"\\/host/share", NameReach::NETWORK},
    {L"\\\\?\\UNC\\host\\share\\a.txt", NameReach::NETWORK},
    {L"//./unc/host/share", NameReach::NETWORK},
    {L"\\\\.\\pipe\\listener", NameReach::DEVICE_NAMESPACE},
    {L"//?/C:/dl/a.txt", NameReach::DEVICE_NAMESPACE},
    {L"\\??\\C:\\dl\\a.txt", NameReach::DEVICE_NAMESPACE},
    {L"\\\\.\\COM1", NameReach::DEVICE_NAMESPACE},
    {L"NUL", NameReach::DEVICE},
    {L"con", NameReach::DEVICE},
    {L"Aux.txt", NameReach::DEVICE},
    {L"dl\\COM1", NameReach::DEVICE},
    {L"C:/dl/lpt9.tar.gz", NameReach::DEVICE},
    {L"C:PRN", NameReach::DEVICE},
    {L"CON  ", NameReach::DEVICE},
    {L"nul .txt", NameReach::DEVICE},
    {L"com3..", NameReach::DEVICE},
    {L"COM\u00B9", NameReach::DEVICE},
    {L"conout$", NameReach::DEVICE},
};

TEST(ListedFile, NamesAreReadAsWindowsReadsThem) {
  for (const ReachCase& test : REACH_CASES) {
    EXPECT_EQ(ReachOfWrittenName(test.name), test.reach) << Utf8FromText(test.name);
  }
}

#ifdef _WIN32
constexpr bool REFUSED_HERE = true;
#else
constexpr bool REFUSED_HERE = false;
#endif

struct PathCase {
  const wchar_t* sumsFile;
  SumsLineForm form;
  const wchar_t* name;
  bool allowNetworkNames;
  const wchar_t* path;  // what is opened where the name is not refused
  bool refused;
};

const PathCase PATH_CASES[] = {
    {L"SHA256SUMS", SumsLineForm::GNU, L"a.txt", false, L"a.txt", false},
    {L"dl/SHA256SUMS", SumsLineForm::GNU, L"a.txt", false, L"dl/a.txt", false},
    {L"/home/u/dl/SHA256SUMS", SumsLineForm::BSD, L"../up.txt", false, L"/home/u/dl/../up.txt",
     false},
    {L"dl/SHA256SUMS", SumsLineForm::GNU, L"/srv/a.txt", false, L"/srv/a.txt", false},
    {L"-", SumsLineForm::GNU, L"a.txt", false, L"a.txt", false},
    // The reader names a digest-alone file's file by the sums file's own path: no folder twice.
    {L"dl/setup.iso.sha256", SumsLineForm::DIGEST_ONLY, L"dl/setup.iso", false, L"dl/setup.iso",
     false},
    // The user chose the sums file on a share; its file beside it is no name written in it.
    {L"//host/dl/setup.iso.sha256", SumsLineForm::DIGEST_ONLY, L"//host/dl/setup.iso", false,
     L"//host/dl/setup.iso", false},
    {L"//host/dl/SHA256SUMS", SumsLineForm::GNU, L"a.txt", false, L"//host/dl/a.txt", false},
    {L"dl/NUL.sha256", SumsLineForm::DIGEST_ONLY, L"dl/NUL", false, L"dl/NUL", REFUSED_HERE},
    {L"dl/SHA256SUMS", SumsLineForm::GNU, L"nul.txt", true, L"dl/nul.txt", REFUSED_HERE},
    {L"dl/SHA256SUMS", SumsLineForm::GNU, L"//./pipe/p", true, L"//./pipe/p", REFUSED_HERE},
    {L"dl/SHA256SUMS", SumsLineForm::GNU, L"//host/share/a", false, L"//host/share/a",
     REFUSED_HERE},
    {L"dl/SHA256SUMS", SumsLineForm::GNU, L"//host/share/a", true, L"//host/share/a", false},
};

TEST(ListedFile, EveryFormOfNameLeadsToOnePathOrIsRefusedWithAReason) {
  for (const PathCase& test : PATH_CASES) {
    SumsEntry entry;
    entry.form = test.form;
    entry.name = test.name;
    const ListedFile file = FindListedFile(test.sumsFile, entry, test.allowNetworkNames);
    const std::string shown = Utf8FromText(Text(test.sumsFile) + L" | " + test.name);
    EXPECT_EQ(file.path, test.refused ? Text() : Text(test.path)) << shown;
    EXPECT_EQ(file.refusal.empty(), !test.refused) << shown;
    if (test.refused) {
      EXPECT_EQ(file.refusal, NotOpenedReason(ReachOfWrittenName(test.name))) << shown;
    }
  }
}

}  // namespace
