// Interleaved and standard 2 of 5, and POSTNET.
#pragma once

#include <cstdint>

// POSTNET check digit: makes the digit sum a multiple of 10.
void postnet_chkcalc(int32_t length, const char* data, char* out);
