#pragma once
// XXH3-64 and XXH128, one plugin under DIGEST_XXH3; `bits` picks the variant (0 means 64).

int RegisterXxh3Plugin();
