#include "verify/row_order.h"

int OrderRank(RowStatus status) {
  switch (status) {
    case RowStatus::FAILED:
      return 0;
    case RowStatus::UNREADABLE:
      return 1;
    case RowStatus::MISSING:
      return 3;  // after the files checked: a file not here is no fault of one that is
    case RowStatus::NOT_CHECKED:
      return 4;
    case RowStatus::UNLISTED:
      return 5;  // what the sums file does not name comes after all it does
    default:
      return 2;
  }
}
