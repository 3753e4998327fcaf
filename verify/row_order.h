#pragma once
// The order of the rows once a run has ended: what went wrong comes first, so that one failure
// among ten thousand files is the first row a user sees.
#include <vector>

#include "verify/check_rows.h"

// FAILED, then UNREADABLE, then the files checked, then MISSING, then those not checked; within
// each, the sums file's order.
void PutFailuresFirst(std::vector<CheckRow>& rows);
