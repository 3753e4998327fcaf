#pragma once
// The order of the rows once a run has ended: what went wrong comes first, so that one failure
// among ten thousand files is the first row a user sees.
#include "verify/check_rows.h"

// A row's place in that order, lower first: FAILED, then UNREADABLE, then the files checked, then
// MISSING, then those not checked; rows of one place keep the sums file's order.
int OrderRank(RowStatus status);
