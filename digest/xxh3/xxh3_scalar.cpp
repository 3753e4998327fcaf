// XXH3 on the portable scalar code, for any processor.
#include "digest/shared/processor_features.h"

#define XXH_VECTOR XXH_SCALAR
#include "digest/xxh3/xxh3_functions.h"

const Xxh3Functions XXH3_SCALAR_FUNCTIONS = {Reset, Update, Digest};
