#pragma once
// The order of the rows once a run has ended: what went wrong comes first, so that one failure
// among ten thousand files is the first row a user sees.
#include "verify/check_rows.h"

// FAILED, then UNREADABLE, then the files checked, then MISSING, then those not checked; within
// each, the sums file's order.
// A row's place in that order: lower first.
int OrderRank(RowStatus status);
