#include "tests/support/harness.hpp"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/command/qthrough.hpp"
#include "core/driver/printops.hpp"
#include "core/driver/qstrops.hpp"
#include "core/driver/xbase.hpp"
#include "core/fields/fieldqueue.hpp"
#include "tests/support/recorder.hpp"

namespace {
kv_status string_in(void* arg, int32_t* c) {
    auto* h = static_cast<Harness*>(arg);
    if (h->inpos >= h->input.size()) {
        h->state->stop = 1;
        *c = -1;
    } else {
        *c = static_cast<uint8_t>(h->input[h->inpos++]);
    }
    return KV_SUCCESS;
}

kv_status string_out(void* arg, int32_t* c) {
    static_cast<Harness*>(arg)->output.push_back(static_cast<char>(*c));
    return KV_SUCCESS;
}

// Messages go through the byte layer's error stream; capture it in memory.
struct MessageCapture {
    char* buf = nullptr;
    size_t len = 0;
    std::FILE* f = nullptr;
    MessageCapture() {
        f = open_memstream(&buf, &len);
        xbase_open(nullptr, nullptr, f);
        xbase_record()->showmsgs = 1;
    }
    std::string take() {
        std::fflush(f);
        std::string s(buf, len);
        std::fclose(f);
        std::free(buf);
        f = nullptr;
        buf = nullptr;
        return s;
    }
    ~MessageCapture() {
        if (f != nullptr) take();
    }
};
} // namespace

std::string with_crlf(const std::string& in) {
    std::string out;
    for (char c : in) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

Harness::Harness(const kv_prnslots& slots) : state(std::make_unique<kv_glor>()) {
    kv_glor* s = state.get();
    s->status = KV_SUCCESS;
    s->lineno = 1;
    s->xinfunc = string_in;
    s->xoutfunc = string_out;
    s->xinarg = this;
    s->xoutarg = this;
    s->resetstart = 1;
    s->resetff = 1;
    s->addcr = 1;
    s->restart = 1;
    install_slots(s, slots);
    recorder().clear();
}

Harness::Harness() : Harness(recorder_slots(9999, false)) {}

Harness::~Harness() { kv_fielddelall(state.get()); }

std::string Harness::run(const std::string& in, bool addcr) {
    MessageCapture capture;
    input = addcr ? with_crlf(in) : in;
    inpos = 0;
    output.clear();
    state->stop = 0;
    state->status = KV_SUCCESS;
    result = kv_qthrough(state.get());
    messages = capture.take();
    return output;
}

std::string Harness::runlayer(const std::string& in) {
    MessageCapture capture;
    std::string copy = in;
    std::FILE* fin = fmemopen(copy.data(), copy.size(), "r");
    char* obuf = nullptr;
    size_t olen = 0;
    std::FILE* fout = open_memstream(&obuf, &olen);
    xbase_open(fin, fout, capture.f);
    xbase_record()->showmsgs = 1;
    kv_glor* s = state.get();
    s->xinfunc = kv_xinfunc;
    s->xoutfunc = kv_xoutfunc;
    s->xinarg = s->xoutarg = s;
    s->stop = 0;
    s->status = KV_SUCCESS;
    result = kv_qthrough(s);
    xbase_flush();
    std::fclose(fout);
    std::fclose(fin);
    output.assign(obuf, olen);
    std::free(obuf);
    s->xinfunc = string_in;
    s->xoutfunc = string_out;
    s->xinarg = s->xoutarg = this;
    messages = capture.take();
    return output;
}

kv_status Harness::command(const std::string& body) {
    if (state->restart) run("");
    std::vector<char> buf(body.begin(), body.end());
    buf.resize(body.size() + 256, '\0');
    return kv_qusecommands(state.get(), buf.data());
}
