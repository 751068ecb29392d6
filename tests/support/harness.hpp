// Drives the real command stream loop in-process over a string: a fresh
// translator state with the recording driver (or any driver slots), input
// from a string, output and messages captured.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/driver/kvglor.hpp"

struct Harness {
    std::unique_ptr<kv_glor> state;
    std::string input;
    size_t inpos = 0;
    std::string output;
    std::string messages;
    kv_status result = KV_SUCCESS;

    // A state cleared as a pass clears it, with the given slots installed.
    explicit Harness(const kv_prnslots& slots);
    Harness();
    ~Harness();

    // Runs kv_qthrough over `in` (initialisation included unless already
    // done); the input is given LF -> CR LF like the byte layer does when
    // `addcr` is set. Returns the output bytes.
    std::string run(const std::string& in, bool addcr = false);
    // As run, but through the real byte layer over in-memory streams: text
    // LFs arrive as CR LF, raw reads get the input as it stands.
    std::string runlayer(const std::string& in);
    // Applies one command body without input.
    kv_status command(const std::string& body);
    kv_glor* operator->() { return state.get(); }
};

// The input as the byte layer delivers it: every LF becomes CR LF.
std::string with_crlf(const std::string& in);
