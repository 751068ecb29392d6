// The byte layer: reads the print stream from standard input (every LF
// delivered as CR LF), counts input lines, writes the printer stream to
// standard output and writes the translator's messages to standard error.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/driver/cfifo.hpp"
#include "core/driver/jerr.hpp"

struct xbase_glor {
    kv_status status; // merged failures of the reader and writer
    int32_t stop;     // end of input or an I/O failure: nothing more is read
    int32_t outfailed; // a write failed: nothing more is written
    int32_t showmsgs; // messages go to standard error only when set
    int32_t lineno;   // input line being read; 0 until the first byte is taken
    cfifo infifo;
    std::FILE* in;
    std::FILE* out;
    std::FILE* err;
};

// The one byte-layer record of the process.
xbase_glor* xbase_record();

// Sets the layer up over the given streams: status 1, not stopped, FIFO
// empty, line 0. The run driver passes the three standard streams.
void xbase_open(std::FILE* in, std::FILE* out, std::FILE* err);

// Next input byte 0..255. Once the layer has stopped the value must not be used.
int xbase_getctoxlate();
// Writes one byte unless a write has failed before. Output goes on after the
// end of input, so every byte read before it still reaches the printer.
// Returns the byte.
int xbase_putxlatedc(int c);
// Pushes buffered output to the device. A failure is reported as WRITIN and
// stops the layer, so a job whose last bytes could not be written is never
// reported as completed.
void xbase_flush();

int xbase_breakall();
int xbase_outfailed();
int xbase_showmsgs();

// Writes one message: "%KEVRA-<severity>-<mnemonic>", then ", <message>" and
// a newline when there is a message, then (16 spaces indented after a
// message) "At line number <line>." when line > 0.
void xlator_showerr(int32_t line, char severity, const char* mnemonic, const char* message);
// xlator_showerr with the byte layer's line number.
void xbase_showerr(xbase_glor* rec, char severity, const char* mnemonic, const char* message);

inline constexpr const char* product_name = "KEVRA";
