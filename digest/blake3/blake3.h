#pragma once
// BLAKE3 with its 256-bit output, registered under DIGEST_BLAKE3.

int RegisterBlake3Plugin();
