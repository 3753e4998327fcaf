#include "sums/whole_sums_file.h"

#include "sums/sums_file_reader.h"

WholeSumsFile ReadSumsFileEntries(const Text& path, const std::function<void(SumsEntry&&)>& take,
                                  const SumsReadProgress& goOn) {
  WholeSumsFile whole;
  SumsFileReader reader;
  std::vector<SumsEntry> entries;
  if (reader.Open(path)) {
    while (reader.ReadEntries(entries)) {
      if (reader.HeldBinary()) {
        whole.binary = true;
        return whole;
      }
      for (SumsEntry& entry : entries) {
        if (entry.form == SumsLineForm::MALFORMED) {
          whole.malformedLines.push_back(entry.lineNumber);
        } else {
          take(std::move(entry));
        }
      }
      entries.clear();
      if (goOn && !goOn(reader.BytesRead(), reader.Size())) {
        whole.stopped = true;
        return whole;
      }
    }
  }
  whole.failure = reader.FailureReason();
  return whole;
}
