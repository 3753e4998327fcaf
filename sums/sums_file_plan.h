#pragma once
// Where a new sums file goes for the files and folders it is made of, and the names it proposes:
// for one folder, SHA256SUMS inside it; for several items, SHA256SUMS in their common folder; for
// one file, NAME.sha256 beside it. Each name is one that AlgorithmNamedBySumsFile reads back.
#include <vector>

#include "runtime/text.h"
#include "sums/named_algorithms.h"

struct SumsFileItem {
  Text path;  // absolute
  bool folder = false;
};

struct SumsFilePlan {
  Text folder;    // where the sums file goes, with a separator at its end: names are below it
  Text fileName;  // the name proposed for the file's algorithm
  bool oneFile = false;
};

SumsFilePlan PlanSumsFile(const std::vector<SumsFileItem>& items, const NamedAlgorithm& algorithm);

// "SHA256SUMS", "MD5SUMS", "SHA3-256SUMS" for a folder's list; "NAME.sha256" for one file.
Text ProposedSumsFileName(const SumsFilePlan& plan, const NamedAlgorithm& algorithm);

// The proposed name follows another algorithm chosen for it; a name the user typed is kept.
Text NameForChosenAlgorithm(const Text& chosenPath, const SumsFilePlan& plan,
                            const NamedAlgorithm& chosen);

// `path` as a sums file in `folder` (with its separator at its end) names it: the part below the
// folder, or the whole path when it is not below.
Text NameBelowFolder(const Text& folder, const Text& path);
