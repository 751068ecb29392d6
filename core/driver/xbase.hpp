// The byte layer: reads the print stream from standard input (every LF of
// text delivered as CR LF, counted data as they stand), counts input lines,
// writes the printer stream to standard output and writes the translator's
// messages to standard error.
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
    // Input read ahead in blocks: bytes inbuf[inpos .. inlen) are not yet taken.
    uint8_t inbuf[65536];
    int32_t inpos;
    int32_t inlen;
    // The process's standard output buffer (see jmain): 64 KiB blocks to the
    // spooler instead of stdio's 4 KiB.
    char outbuf[65536];
    std::FILE* in;
    std::FILE* out;
    std::FILE* err;
};

// The one byte-layer record of the process.
extern xbase_glor xbase_glorrec;
inline xbase_glor* xbase_record() { return &xbase_glorrec; }

// Sets the layer up over the given streams: status 1, not stopped, FIFO
// empty, line 0. The run driver passes the three standard streams.
void xbase_open(std::FILE* in, std::FILE* out, std::FILE* err);

// Next input byte 0..255. Once the layer has stopped the value must not be used.
int xbase_getctoxlate();
// Next input byte as it stands in the input, for the counted data of a printer
// command: no CR is put before a LF (a LF whose CR the text read has already
// delivered comes next), and the line count follows the LFs read. Once the
// layer has stopped the value must not be used.
int xbase_getraw();
// Reports a failed write (WRITIN) and stops the layer.
void xbase_writefailed();
// Writes one byte unless a write has failed before. Output goes on after the
// end of input, so every byte read before it still reaches the printer.
// Returns the byte.
inline int xbase_putxlatedc(int c) {
    xbase_glor& b = xbase_glorrec;
    if (b.outfailed) return c;
    if (putc_unlocked(c, b.out) == EOF) xbase_writefailed();
    return c;
}
// Bytes already read ahead and not yet taken, when nothing converted is
// pending: *p points at them; the count is returned (0 if none). They are
// taken with xbase_skiprun. Plain text moves through in runs this way.
inline size_t xbase_peekrun(const uint8_t** p) {
    xbase_glor& b = xbase_glorrec;
    if (b.stop || b.infifo.count != 0 || b.lineno == 0) return 0;
    *p = b.inbuf + b.inpos;
    return static_cast<size_t>(b.inlen - b.inpos);
}
inline void xbase_skiprun(size_t n) { xbase_glorrec.inpos += static_cast<int32_t>(n); }
// A LF taken in a run (xbase_skiprun) after its CR went to the translator:
// xbase_countline when the LF goes to the translator too (the line count goes
// up), xbase_pendlf to leave it for the next read to give.
inline void xbase_countline() {
    ++xbase_glorrec.lineno;
}
void xbase_pendlf();
// Writes n bytes unless a write has failed before.
inline void xbase_putrun(const uint8_t* p, size_t n) {
    xbase_glor& b = xbase_glorrec;
    if (b.outfailed || n == 0) return;
    if (fwrite_unlocked(p, 1, n, b.out) != n) xbase_writefailed();
}
// Pushes buffered output to the device. A failure is reported as WRITIN and
// stops the layer, so a job whose last bytes could not be written is never
// reported as completed.
void xbase_flush();

inline int xbase_breakall() { return xbase_glorrec.stop; }
inline int xbase_outfailed() { return xbase_glorrec.outfailed; }
inline int xbase_showmsgs() { return xbase_glorrec.showmsgs; }

// Writes one message: "%KEVRA-<severity>-<mnemonic>", then ", <message>" and
// a newline when there is a message, then (16 spaces indented after a
// message) "At line number <line>." when line > 0.
void xlator_showerr(int32_t line, char severity, const char* mnemonic, const char* message);
// xlator_showerr with the byte layer's line number.
void xbase_showerr(xbase_glor* rec, char severity, const char* mnemonic, const char* message);

inline constexpr const char* product_name = "KEVRA";
