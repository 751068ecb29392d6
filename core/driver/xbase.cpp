#include "core/driver/xbase.hpp"

#include <cstring>

namespace {
xbase_glor xbase_glorrec{};

void xbase_fail(const char* mnemonic, const char* message, bool output) {
    kv_status st = KV_SUCCESS;
    xbase_glorrec.stop = 1;
    if (output) xbase_glorrec.outfailed = 1;
    jerr_uperr(&st, KV_SYSIO);
    xbase_showerr(&xbase_glorrec, 'E', mnemonic, message);
    jerr_uperr(&xbase_glorrec.status, st);
}
} // namespace

xbase_glor* xbase_record() { return &xbase_glorrec; }

void xbase_open(std::FILE* in, std::FILE* out, std::FILE* err) {
    xbase_glorrec.status = KV_SUCCESS;
    xbase_glorrec.stop = 0;
    xbase_glorrec.outfailed = 0;
    xbase_glorrec.lineno = 0;
    cfifo_open(&xbase_glorrec.infifo);
    xbase_glorrec.in = in;
    xbase_glorrec.out = out;
    xbase_glorrec.err = err;
}

int xbase_getctoxlate() {
    xbase_glor& b = xbase_glorrec;
    int result = ' ';
    while (!b.stop && b.infifo.count == 0) {
        int c = getc_unlocked(b.in);
        if (c == EOF) {
            if (std::ferror(b.in)) {
                xbase_fail("READIN", "error reading translator input.", false);
            } else {
                b.stop = 1;
                result = c;
            }
        } else if (c == '\n') {
            cfifo_putc(&b.infifo, '\r');
            cfifo_putc(&b.infifo, '\n');
        } else {
            cfifo_putc(&b.infifo, c);
        }
    }
    if (!b.stop) {
        if (b.lineno == 0) b.lineno = 1;
        result = cfifo_getc(&b.infifo);
        if (result == '\n') ++b.lineno;
    }
    return result;
}

int xbase_putxlatedc(int c) {
    xbase_glor& b = xbase_glorrec;
    if (b.outfailed) return c;
    if (putc_unlocked(c, b.out) == EOF) xbase_fail("WRITIN", "error writing translator output.", true);
    return c;
}

void xbase_flush() {
    xbase_glor& b = xbase_glorrec;
    if (b.out == nullptr || b.outfailed) return;
    if (std::fflush(b.out) != 0 || std::ferror(b.out))
        xbase_fail("WRITIN", "error writing translator output.", true);
}

int xbase_breakall() { return xbase_glorrec.stop; }
int xbase_outfailed() { return xbase_glorrec.outfailed; }
int xbase_showmsgs() { return xbase_glorrec.showmsgs; }

void xlator_showerr(int32_t line, char severity, const char* mnemonic, const char* message) {
    if (!xbase_glorrec.showmsgs) return;
    std::FILE* err = xbase_glorrec.err != nullptr ? xbase_glorrec.err : stderr;
    std::fprintf(err, "%%%s-%c-%s", product_name, severity, mnemonic);
    if (message != nullptr && *message != '\0') {
        std::fprintf(err, ", %s\n", message);
        if (line > 0) std::fputs("                ", err);
    }
    if (line > 0) std::fprintf(err, "At line number %d.\n", static_cast<int>(line));
    std::fflush(err);
}

void xbase_showerr(xbase_glor* rec, char severity, const char* mnemonic, const char* message) {
    xlator_showerr(rec->lineno, severity, mnemonic, message);
}
