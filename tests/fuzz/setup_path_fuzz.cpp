// A user's PATH value may hold anything. Read as registry text it must write back as the same
// bytes; with its quotes closed, the folder added and taken out again must give back the same text,
// and once added it must be found.
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
  const std::u16string folder = u"C:\\Users\\x\\AppData\\Local\\Programs\\Calculate Checksums";
  std::optional<std::u16string> added = PathWithEntry(value->text, folder);
  if (!added) return 0;
  if (PathWithEntry(*added, folder)) std::abort();
  if (PathWithoutEntry(*added, folder) != value->text) std::abort();
  return 0;
}
