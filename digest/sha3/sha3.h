#pragma once
// SHA3-224, SHA3-256, SHA3-384 and SHA3-512 of FIPS 202, one plugin under DIGEST_SHA3; `bits`
// picks the variant (0 means 256).

int RegisterSha3Plugin();
