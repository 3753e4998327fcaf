#pragma once
// SHA-1 of FIPS 180-4, registered under DIGEST_SHA1. A context created with preserveInput 0
// transforms whole blocks where they lie and so overwrites them in the caller's memory.

int RegisterSha1Plugin();
