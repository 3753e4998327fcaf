#include "verify/row_order.h"

#include <algorithm>

namespace {

int Rank(RowStatus status) {
  switch (status) {
    case RowStatus::FAILED:
      return 0;
    case RowStatus::UNREADABLE:
      return 1;
    case RowStatus::MISSING:
      return 3;  // after the files checked: a file not here is no fault of one that is
    case RowStatus::NOT_CHECKED:
      return 4;
    default:
      return 2;
  }
}

}  // namespace

void PutFailuresFirst(std::vector<CheckRow>& rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const CheckRow& a, const CheckRow& b) {
    return Rank(a.status) < Rank(b.status);
  });
}
