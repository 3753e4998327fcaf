#pragma once
// Paths past the classic 259-character limit name readable files on today's Windows; the system
// opens them in their extended-length form.
#include "runtime/text.h"

constexpr size_t CLASSIC_PATH_LIMIT = 259;

// `fullPath` (absolute, already normalised) in the form that opens at any length:
// "\\?\C:\..." for a drive path, "\\?\UNC\server\share\..." for a network path. Paths within the
// limit, paths already in a device or extended form, and other shapes are returned unchanged.
Text ExtendedLengthPath(const Text& fullPath);

// (Windows) `path` as the system opens it at any length: made absolute and normalised ("." and
// ".." resolved), which the extended form needs, and given that form when it is over the limit.
Text OpenablePath(const Text& path);
