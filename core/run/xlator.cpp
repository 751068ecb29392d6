#include "core/run/xlator.hpp"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "core/command/qthrough.hpp"
#include "core/driver/printops.hpp"
#include "core/driver/qstrops.hpp"
#include "core/driver/report.hpp"
#include "core/driver/unx.hpp"
#include "core/driver/xbase.hpp"
#include "core/fields/fieldqueue.hpp"

namespace {
kv_glor kv_glorrec{};

// The environment buffers are 256 bytes, read with a size of 254: longer
// values are cut to their first 253 bytes.
constexpr size_t kEnvBuffer = 256;
constexpr size_t kEnvSize = 254;
constexpr size_t kVerboseBuffer = 32;

char firstlower(const char* value) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(value[0])));
}

bool envswitch(const char* name, char letter) {
    char buf[kEnvBuffer];
    kv_envxlate(name, buf, kEnvSize);
    return firstlower(buf) == letter;
}

void xlator_readenv(kv_glor* s) {
    if (envswitch("KEVRA_DEBUG", 'y')) s->debug = 1;
    if (envswitch("KEVRA_ADDCR", 'n')) s->addcr = 0;
    if (envswitch("KEVRA_RESET_A", 'n')) s->resetstart = 0;
    if (envswitch("KEVRA_RESET_Z", 'n')) s->resetff = 0;
    char buf[kEnvBuffer];
    kv_envxlate("KEVRA_INIT_CMD", buf, kEnvSize);
    if (buf[0] != '\0') qstr_cpy(s->initcmd, buf);
    // Read twice: one switch sets both the CR squeezing and the LF holding.
    if (envswitch("KEVRA_SQUISH_CR", 'y')) s->squishcr = 1;
    if (envswitch("KEVRA_SQUISH_CR", 'y')) s->holdlf = 1;
}

void xlator_banner(const char* verbose) {
    if (!xbase_showmsgs() || verbose[0] == 'N' || verbose[0] == 'Q') return;
    std::FILE* err = xbase_record()->err;
    std::fprintf(err, "\n\nKEVRA/DIGITAL-UNIX DUZA [Rev %s], %s\n", VersionNumber,
                 kv_printername);
    std::fflush(err);
}
} // namespace

kv_glor* xlator_state() { return &kv_glorrec; }

kv_status kv_setprn(kv_glor* s) {
    kv_installslots(s, kv_prnentry);
    return KV_SUCCESS;
}

kv_status xlator_init(const int32_t* config) {
    kv_glor* s = &kv_glorrec;
    for (int i = 0; i < KV_CONFIG_WORDS; ++i) s->config[i] = config != nullptr ? config[i] : 0;
    s->restart = 1;
    return KV_SUCCESS;
}

kv_status xlator_main() {
    kv_glor* s = &kv_glorrec;
    kv_status st = KV_SUCCESS;

    // Members that survive a pass.
    const int32_t restart = s->restart;
    int32_t config[KV_CONFIG_WORDS];
    std::memcpy(config, s->config, sizeof config);
    const int32_t savedpitch = s->savedpitch;
    const int32_t savedspacing = s->savedspacing;

    kv_fielddelall(s); // nothing of a previous pass may leak
    *s = kv_glor{};
    s->restart = restart;
    std::memcpy(s->config, config, sizeof config);
    s->savedpitch = savedpitch;
    s->savedspacing = savedspacing;

    s->status = KV_SUCCESS;
    s->lineno = 1;
    s->xinfunc = kv_xinfunc;
    s->xoutfunc = kv_xoutfunc;
    s->xinarg = s;
    s->xoutarg = s;
    s->prncode = -1;
    s->resetstart = 1;
    s->resetff = 1;
    s->addcr = 1;
    xlator_readenv(s);
    s->fieldhead = nullptr;

    jerr_uperr(&st, kv_setprn(s));
    if (kv_ok(st)) jerr_uperr(&st, kv_qthrough(s));
    // Fields still queued at the end of the stream have nowhere to go.
    kv_fielddelall(s);
    if (kv_ok(st)) return st;
    kv_flagerr(s, st);
    return st;
}

kv_status xlator_run(std::FILE* in, std::FILE* out, std::FILE* err) {
    kv_status st = KV_SUCCESS;
    xbase_open(in, out, err);
    xbase_glor* b = xbase_record();

    char verbose[kVerboseBuffer];
    kv_envxlate("KEVRA_VERBOSE", verbose, sizeof verbose);
    strupr(verbose);
    b->showmsgs = verbose[0] != 'Q';
    xlator_banner(verbose);

    if (!xbase_breakall()) jerr_uperr(&st, xlator_init(nullptr));
    while (kv_ok(st) && !xbase_breakall()) {
        jerr_uperr(&st, xlator_main());
        jerr_uperr(&st, b->status);
    }
    xbase_flush();
    jerr_uperr(&st, b->status);

    if (verbose[0] != 'N' && verbose[0] != 'Q')
        xbase_showerr(b, 'I', "SUMMARY",
                      kv_ok(st) ? "Translation completed." : "Translation aborted.");
    return st;
}

kv_status jmain() {
    // The printer stream leaves in 64 KiB blocks rather than stdio's 4 KiB:
    // a long job makes a sixteenth of the write calls. A terminal keeps its
    // own buffering, so output typed at one still shows line by line. The
    // buffer is the byte layer's, which lives as long as the process.
    xbase_glor* b = xbase_record();
    if (!isatty(fileno(stdout))) std::setvbuf(stdout, b->outbuf, _IOFBF, sizeof b->outbuf);
    return xlator_run(stdin, stdout, stderr);
}
