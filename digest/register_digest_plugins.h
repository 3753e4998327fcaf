#pragma once
// The program's digest algorithms, registered in the order the programs rely on: CRC32 first, so
// that id -1 selects it, then MD5, SHA-1, SHA-2, SHA-3,
// BLAKE3 and XXH3.

void RegisterDigestPlugins();
