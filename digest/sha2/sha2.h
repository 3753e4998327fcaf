#pragma once
// SHA-224, SHA-256, SHA-384 and SHA-512 of FIPS 180-4, one plugin under DIGEST_SHA2; `bits`
// picks the algorithm (0 means 256).

int RegisterSha2Plugin();
