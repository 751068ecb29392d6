// Faults of the standard streams injected into the real programs: output to
// a full device, a closed descriptor or a pipe whose reader stops early;
// input from a directory, a closed descriptor, or a device that fails
// part-way (a preloaded shim). Each run ends on its own, with the reader's or
// writer's report, "Translation aborted." and status 80, and what did reach
// standard output is exactly the start of what a sound run writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/support/process.hpp"

namespace {
const char* const kPrograms[] = {"kevra_epsonlq", "kevra_hplaser"};

// Text with a Code 39 symbol every 100 lines: the band printer prints the
// symbols as bit images, the page printer as raster rows.
std::string job(int lines) {
    std::string s = "|BCODE39 H30|";
    for (int i = 0; i < lines; ++i) {
        s += "Line " + std::to_string(i) + " of the job, some text to fill it.";
        if (i % 100 == 0) s += " ~L" + std::to_string(i) + "~";
        s += "\n";
    }
    return s + "\f";
}

// The byte layer's report and the summary, both naming `line` (none when 0).
std::string aborted(const std::string& mnemonic, const std::string& message, int line) {
    const std::string at =
        line > 0 ? std::string(16, ' ') + "At line number " + std::to_string(line) + ".\n" : "";
    return "%KEVRA-E-" + mnemonic + ", " + message + "\n" + at +
           "%KEVRA-I-SUMMARY, Translation aborted.\n" + at;
}
const char kWriteFailure[] = "WRITIN";
const char kReadFailure[] = "READIN";

// Standard output of a sound run of `in`.
std::string soundrun(const std::string& program, const std::string& in) {
    ProcessResult r = run_process(program_path(program), in, {{"KEVRA_VERBOSE", "Q"}});
    EXPECT_EQ(r.exitcode, 1);
    return r.out;
}

// Checks that the run ended on its own with the banner, the byte layer's
// report and the summary, and status 80; returns the line they name.
int expectaborted(const ProcessResult& r, const std::string& mnemonic) {
    EXPECT_FALSE(r.timedout);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exitcode, 80); // 16720, "system i/o error.", cut to eight bits
    const std::string message = mnemonic == kWriteFailure ? "error writing translator output."
                                                          : "error reading translator input.";
    const size_t at = r.err.find("At line number ");
    const int line = at == std::string::npos ? 0 : std::atoi(r.err.c_str() + at + 15);
    if (mnemonic == kWriteFailure) {
        EXPECT_GT(line, 0); // input has been read by the time output fails
    }
    const size_t report = r.err.find("%KEVRA-");
    EXPECT_EQ(r.err.substr(0, 8), "\n\nKEVRA/"); // the banner
    EXPECT_EQ(report == std::string::npos ? r.err : r.err.substr(report),
              aborted(mnemonic, message, line));
    return line;
}
} // namespace

TEST(Faults, OutputToAFullDeviceOrAClosedDescriptor) {
    const std::string small = job(3), large = job(3000);
    for (const char* p : kPrograms) {
        // A small job sits in the output buffer until the end, a large one
        // fails while it runs; both are reported once.
        for (const std::string* in : {&small, &large}) {
            SCOPED_TRACE(std::string(p) + (in == &small ? " small job" : " large job"));
            ProcessOptions full;
            full.stdoutpath = "/dev/full";
            expectaborted(run_process_with(program_path(p), *in, full), kWriteFailure);
            ProcessOptions closed;
            closed.stdoutclosed = true;
            expectaborted(run_process_with(program_path(p), *in, closed), kWriteFailure);
        }
    }
}

// The reader of the printer stream goes away after N bytes: the next write
// fails and is reported like any other write failure (see the README), the
// input is no longer read, and the bytes the reader took are the start of a
// sound run's output.
TEST(Faults, PipeReaderStopsAfterNBytes) {
    const std::string in = job(20000);
    for (const char* p : kPrograms) {
        const std::string sound = soundrun(p, in);
        ASSERT_GT(sound.size(), 800000u); // far more than the largest N and the pipe hold
        for (long n : {0L, 1L, 100L, 4096L, 65537L, 300000L}) {
            SCOPED_TRACE(std::string(p) + " stops after " + std::to_string(n));
            ProcessOptions o;
            o.outlimit = n;
            ProcessResult r = run_process_with(program_path(p), in, o);
            expectaborted(r, kWriteFailure);
            ASSERT_EQ(r.out.size(), static_cast<size_t>(n));
            EXPECT_EQ(r.out, sound.substr(0, static_cast<size_t>(n)));
        }
    }
}

TEST(Faults, InputThatCannotBeRead) {
    for (const char* p : kPrograms) {
        SCOPED_TRACE(p);
        // Nothing was read, so no line is named; the printer was initialised.
        const std::string init = soundrun(p, "");
        ProcessOptions dir;
        dir.stdinpath = "/";
        ProcessResult r = run_process_with(program_path(p), "", dir);
        EXPECT_EQ(expectaborted(r, kReadFailure), 0);
        EXPECT_EQ(r.out, init);
        ProcessOptions closed;
        closed.stdinclosed = true;
        r = run_process_with(program_path(p), "", closed);
        EXPECT_EQ(expectaborted(r, kReadFailure), 0);
        EXPECT_EQ(r.out, init);
    }
}

// The device fails after N bytes: every byte read before the failure is
// translated and written, the report names the line being read, and nothing
// more is read.
TEST(Faults, InputFailsPartWay) {
    const std::string in = job(6000);
    const std::string shim = program_path("libkevra_readfail.so");
    for (const char* p : kPrograms) {
        ASSERT_GT(in.size(), 200000u);
        for (size_t n : {0ul, 1ul, 70ul, 5000ul, 65536ul, 65537ul, 200000ul}) {
            SCOPED_TRACE(std::string(p) + " fails after " + std::to_string(n));
            ProcessOptions o;
            // A sanitized program must let the shim load before its runtime.
            o.env = {{"LD_PRELOAD", shim},
                     {"KEVRA_TEST_READFAIL_AFTER", std::to_string(n)},
                     {"ASAN_OPTIONS", "verify_asan_link_order=0"}};
            ProcessResult r = run_process_with(program_path(p), in, o);
            const int line = expectaborted(r, kReadFailure);
            const std::string head = in.substr(0, n);
            const long lines = static_cast<long>(std::count(head.begin(), head.end(), '\n'));
            EXPECT_EQ(line, n > 0 ? lines + 1 : 0);
            const std::string sound = soundrun(p, head);
            EXPECT_EQ(r.out, sound);
        }
    }
}

// Input handed over non-blocking is waited for, not taken for a failure.
TEST(Faults, NonBlockingInputIsWaitedFor) {
    const std::string in = job(300);
    for (const char* p : kPrograms) {
        SCOPED_TRACE(p);
        ProcessOptions o;
        o.env = {{"KEVRA_VERBOSE", "Q"}};
        o.stdinnonblocking = true;
        o.inputdelayms = 200;
        ProcessResult r = run_process_with(program_path(p), in, o);
        EXPECT_EQ(r.exitcode, 1);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, soundrun(p, in));
    }
}
