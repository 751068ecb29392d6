// SHA-256 for tests that check a table transcription against the published
// digest.
#pragma once

#include <string>

// Lower-case hexadecimal digest of `data`.
std::string sha256_hex(const std::string& data);
