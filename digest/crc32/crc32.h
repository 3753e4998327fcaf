#pragma once
// CRC-32 of IEEE 802.3 (reflected polynomial 0xEDB88320), registered under DIGEST_CRC32.
#include <cstdint>

// The running CRC in finished (complemented) form; 0 before any byte. Any split of the data
// gives the same result as one call.
uint32_t Crc32Update(const uint8_t* data, uint32_t length, uint32_t crc);

int RegisterCrc32Plugin();
