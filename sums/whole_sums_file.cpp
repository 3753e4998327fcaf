#include "sums/whole_sums_file.h"

#include "sums/sums_file_reader.h"

WholeSumsFile ReadWholeSumsFile(const Text& path) {
  WholeSumsFile whole;
  SumsFileReader reader;
  std::vector<SumsEntry> entries;
  if (reader.Open(path)) {
    while (reader.ReadEntries(entries)) {
      for (SumsEntry& entry : entries) {
        if (entry.form == SumsLineForm::MALFORMED) {
          whole.malformedLines.push_back(entry.lineNumber);
        } else {
          whole.entries.push_back(std::move(entry));
        }
      }
      entries.clear();
    }
  }
  whole.failure = reader.FailureReason();
  return whole;
}
