// A user's PATH value may hold anything. Read as registry text it must write back as the same
// bytes; with its quotes closed, the folder added and taken out again must give back the same text,
// and once added it must be found, for every shape of folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "installer/setup_helper/path_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::optional<RegistryText> value = ReadRegistryText(bytes);
  if (!value) return 0;
  if (RegistryBytes(*value) != bytes) std::abort();
  if (!PathQuotesClosed(value->text)) return 0;
  // A usual folder, one that must be quoted to stay one entry, and a drive's root.
  for (const char16_t* folder :
       {u"C:\\Users\\x\\AppData\\Local\\Programs\\Calculate Checksums", u"D:\\a;b\\bin", u"D:\\"}) {
    std::optional<std::u16string> added = PathWithEntry(value->text, folder);
    if (!added) continue;
    if (PathWithEntry(*added, folder)) std::abort();
    if (PathWithoutEntry(*added, folder) != value->text) std::abort();
  }
  return 0;
}
