// Where a listed name leads: the one path both programs open for every form of name and of sums
// file path, and the names read with Windows' eyes as reaching a share, the device namespace or
// a device, which are refused where Windows would follow them.
#include "sums/listed_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "sums/outside_names.h"

namespace {

using enum NameReach;

TEST(ListedFile, NamesAreReadAsWindowsReadsThem) {
  const std::pair<NameReach, std::vector<const wchar_t*>> cases[] = {
      {LOCAL,
       {L"a.txt", L"../up.txt", L"C:\\dl\\a.txt", L"\\dl\\a", L"CONSOLE", L"COM10", L" CON",
        L"nul\\a.txt"}},
      {NETWORK,
       {L"\\\\host\\share\\a", L"//host/share/a", L"\\/host/a", L"\\\\?\\UNC\\host\\share",
        L"//./unc/host/share"}},
      {DEVICE_NAMESPACE, {L"\\\\.\\pipe\\p", L"//?/C:/dl/a.txt", L"\\??\\C:\\a", L"\\\\.\\COM1"}},
      {DEVICE,
       {L"NUL", L"con", L"Aux.txt", L"dl\\COM1", L"C:/lpt9.tar.gz", L"C:PRN", L"CON  ", L"nul .txt",
        L"com3..", L"COM\u00B9", L"conout$"}}};
  for (const auto& [reach, names] : cases) {
    for (const wchar_t* name : names) {
      EXPECT_EQ(ReachOfWrittenName(name), reach) << Utf8FromText(name);
    }
  }
}

#ifdef _WIN32
constexpr bool REFUSED_HERE = true;
#else
constexpr bool REFUSED_HERE = false;
#endif

TEST(ListedFile, EveryFormOfNameLeadsToOnePathOrIsRefusedWithAReason) {
  using enum SumsLineForm;
  const struct {
    const wchar_t* sumsFile;
    SumsLineForm form;
    const wchar_t* name;
    bool allowNetworkNames;
    const wchar_t* path;  // what is opened where the name is not refused
    bool refused;
  } cases[] = {
      {L"SHA256SUMS", GNU, L"a.txt", false, L"a.txt", false},
      {L"dl/SHA256SUMS", GNU, L"a.txt", false, L"dl/a.txt", false},
      {L"/u/dl/SHA256SUMS", BSD, L"../up.txt", false, L"/u/dl/../up.txt", false},
      {L"dl/SHA256SUMS", GNU, L"/srv/a.txt", false, L"/srv/a.txt", false},
      {L"-", GNU, L"a.txt", false, L"a.txt", false},
      // The reader names a digest-alone file's file by the sums file's own path: no folder twice.
      {L"dl/setup.iso.sha256", DIGEST_ONLY, L"dl/setup.iso", false, L"dl/setup.iso", false},
      // The user chose the sums file on a share; what it checks beside it was not written in it.
      {L"//h/s/a.iso.md5", DIGEST_ONLY, L"//h/s/a.iso", false, L"//h/s/a.iso", false},
      {L"//h/s/SHA256SUMS", GNU, L"a.txt", false, L"//h/s/a.txt", false},
      {L"dl/NUL.sha256", DIGEST_ONLY, L"dl/NUL", false, L"dl/NUL", REFUSED_HERE},
      {L"dl/SHA256SUMS", GNU, L"nul.txt", true, L"dl/nul.txt", REFUSED_HERE},
      {L"dl/SHA256SUMS", GNU, L"//./pipe/p", true, L"//./pipe/p", REFUSED_HERE},
      {L"dl/SHA256SUMS", GNU, L"//h/s/a", false, L"//h/s/a", REFUSED_HERE},
      {L"dl/SHA256SUMS", GNU, L"//h/s/a", true, L"//h/s/a", false}};
  for (const auto& test : cases) {
    SumsEntry entry;
    entry.form = test.form;
    entry.name = test.name;
    const ListedFile file = FindListedFile(test.sumsFile, entry, test.allowNetworkNames);
    const std::string shown = Utf8FromText(Text(test.sumsFile) + L" | " + test.name);
    EXPECT_EQ(file.path, test.refused ? Text() : Text(test.path)) << shown;
    const Text reason = test.refused ? NotOpenedReason(ReachOfWrittenName(test.name)) : Text();
    EXPECT_EQ(file.refusal, reason) << shown;
  }
}

}  // namespace
