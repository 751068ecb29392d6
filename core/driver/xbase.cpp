#include "core/driver/xbase.hpp"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <unistd.h>

xbase_glor xbase_glorrec{};

namespace {
void xbase_fail(const char* mnemonic, const char* message, bool output) {
    kv_status st = KV_SUCCESS;
    xbase_glorrec.stop = 1;
    if (output) xbase_glorrec.outfailed = 1;
    jerr_uperr(&st, KV_SYSIO);
    xbase_showerr(&xbase_glorrec, 'E', mnemonic, message);
    jerr_uperr(&xbase_glorrec.status, st);
}
// Reads the next block of input. False at the end of the input or on a read
// failure (reported), which both stop the layer.
bool xbase_refill() {
    xbase_glor& b = xbase_glorrec;
    b.inpos = 0;
    b.inlen = 0;
    const int fd = b.in != nullptr ? fileno(b.in) : -1;
    ssize_t n = 0;
    if (fd >= 0) {
        for (;;) {
            n = read(fd, b.inbuf, sizeof b.inbuf);
            if (n >= 0) break;
            if (errno == EINTR) continue;
            // Input left non-blocking by whoever set it up is not at its end
            // when nothing is there yet: wait for it.
            if (errno != EAGAIN && errno != EWOULDBLOCK) break;
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, -1) < 0 && errno != EINTR) break;
        }
    } else if (b.in != nullptr) {
        n = static_cast<ssize_t>(std::fread(b.inbuf, 1, sizeof b.inbuf, b.in));
        if (n == 0 && std::ferror(b.in)) n = -1;
    }
    if (n > 0) {
        b.inlen = static_cast<int32_t>(n);
        return true;
    }
    if (n < 0)
        xbase_fail("READIN", "error reading translator input.", false);
    else
        b.stop = 1;
    return false;
}
} // namespace

void xbase_open(std::FILE* in, std::FILE* out, std::FILE* err) {
    // A reader of the printer stream that goes away is a failed write like
    // any other: reported as WRITIN and ending the run with status 80, never
    // an unannounced death by SIGPIPE that leaves the spooler's log empty.
    std::signal(SIGPIPE, SIG_IGN);
    xbase_glorrec.status = KV_SUCCESS;
    xbase_glorrec.stop = 0;
    xbase_glorrec.outfailed = 0;
    xbase_glorrec.lineno = 0;
    xbase_glorrec.inpos = 0;
    xbase_glorrec.inlen = 0;
    cfifo_open(&xbase_glorrec.infifo);
    xbase_glorrec.in = in;
    xbase_glorrec.out = out;
    xbase_glorrec.err = err;
}

int xbase_getctoxlate() {
    xbase_glor& b = xbase_glorrec;
    int result = ' ';
    while (!b.stop && b.infifo.count == 0) {
        if (b.inpos == b.inlen && !xbase_refill()) {
            result = EOF;
            continue;
        }
        const int c = b.inbuf[b.inpos++];
        if (c == '\n') {
            cfifo_putc(&b.infifo, '\r');
            cfifo_putc(&b.infifo, '\n');
        } else {
            // Only the CR LF pair needs the FIFO; any other byte goes straight on.
            if (b.lineno == 0) b.lineno = 1;
            return c;
        }
    }
    if (!b.stop) {
        if (b.lineno == 0) b.lineno = 1;
        result = cfifo_getc(&b.infifo);
        if (result == '\n') ++b.lineno;
    }
    return result;
}

void xbase_pendlf() {
    cfifo_putc(&xbase_glorrec.infifo, '\n');
}

int xbase_getraw() {
    xbase_glor& b = xbase_glorrec;
    if (b.stop) return EOF;
    int c = 0;
    if (b.infifo.count != 0) {
        c = cfifo_getc(&b.infifo);
    } else {
        if (b.inpos == b.inlen && !xbase_refill()) return EOF;
        c = b.inbuf[b.inpos++];
    }
    if (b.lineno == 0) b.lineno = 1;
    if (c == '\n') ++b.lineno;
    return c;
}

void xbase_writefailed() {
    xbase_fail("WRITIN", "error writing translator output.", true);
}

void xbase_flush() {
    xbase_glor& b = xbase_glorrec;
    if (b.out == nullptr || b.outfailed) return;
    if (std::fflush(b.out) != 0 || std::ferror(b.out)) xbase_writefailed();
}


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
