#include "sums/sums_file_plan.h"

#include "sums/folder_separator.h"

namespace {

// The folder holding `path`, with its separator; empty for a bare name.
Text ParentFolder(const Text& path) {
  size_t end = path.size();
  while (end > 0 && IsFolderSeparator(path[end - 1])) --end;  // "folder\" names the folder
  while (end > 0 && !IsFolderSeparator(path[end - 1])) --end;
  return path.substr(0, end);
}

Text WithSeparator(const Text& folder) {
  if (!folder.empty() && IsFolderSeparator(folder.back())) return folder;
  return folder + FolderSeparator();
}

// The longest folder both lie in, with its separator; empty when they share none.
Text CommonFolder(const Text& first, const Text& second) {
  size_t same = 0;
  while (same < first.size() && same < second.size() && first[same] == second[same]) ++same;
  while (same > 0 && !IsFolderSeparator(first[same - 1])) --same;
  return first.substr(0, same);
}

Text LastPart(const Text& path) {
  const Text folder = ParentFolder(path);
  Text part = path.substr(folder.size());
  while (!part.empty() && IsFolderSeparator(part.back())) part.pop_back();
  return part;
}

}  // namespace

SumsFilePlan PlanSumsFile(const std::vector<SumsFileItem>& items, const NamedAlgorithm& algorithm) {
  SumsFilePlan plan;
  if (items.size() == 1 && items[0].folder) {
    plan.folder = WithSeparator(items[0].path);
  } else if (items.size() == 1) {
    plan.folder = ParentFolder(items[0].path);
    plan.oneFile = true;
  } else if (!items.empty()) {
    plan.folder = ParentFolder(items[0].path);
    for (const SumsFileItem& item : items) {
      plan.folder = CommonFolder(plan.folder, ParentFolder(item.path));
    }
    if (plan.folder.empty()) plan.folder = ParentFolder(items[0].path);
  }
  if (plan.oneFile) {
    plan.fileName = LastPart(items[0].path) + L"." + algorithm.name;
  } else if (!items.empty()) {
    plan.fileName = ProposedSumsFileName(plan, algorithm);
  }
  return plan;
}

Text ProposedSumsFileName(const SumsFilePlan& plan, const NamedAlgorithm& algorithm) {
  if (!plan.oneFile) return Text(algorithm.bsdTag) + L"SUMS";
  // NAME.sha256: the listed file's name is the proposed name less its extension.
  const size_t dot = plan.fileName.rfind(L'.');
  return plan.fileName.substr(0, dot) + L"." + algorithm.name;
}

Text NameForChosenAlgorithm(const Text& chosenPath, const SumsFilePlan& plan,
                            const NamedAlgorithm& chosen) {
  const Text folder = ParentFolder(chosenPath);
  if (chosenPath.substr(folder.size()) != plan.fileName) return chosenPath;
  return folder + ProposedSumsFileName(plan, chosen);
}

Text NameBelowFolder(const Text& folder, const Text& path) {
  if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0) {
    return path.substr(folder.size());
  }
  return path;
}
