// kevra_preview: shows a printer stream as the printer would print it, one
// PNG per page, and with --read proves that every symbol on it scans.
#include <getopt.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "preview/languages.hpp"
#include "preview/png.hpp"
#include "preview/reader.hpp"

namespace {
// Exit statuses: every page written (and read); written, but the stream had
// problems or a symbol did not read; nothing or not everything written.
constexpr int kExitClean = 0;
constexpr int kExitFindings = 1;
constexpr int kExitTrouble = 2;

constexpr int kMinDpi = 10;
constexpr int kMaxDpi = 1200;

const char* program = "kevra_preview";

struct Options {
    std::string printer;
    std::string prefix;
    std::string input = "-";
    int dpi = 0; // 0: the printer's own
    bool read = false;
};

void usage(std::FILE* to) {
    std::fprintf(
        to,
        "Usage: %s --printer NAME [OPTION]... [FILE]\n"
        "Renders the printer stream in FILE (or standard input) as the printer prints it,\n"
        "one PNG per page: PREFIX-1.png, PREFIX-2.png, ...\n"
        "\n"
        "  -p, --printer=NAME     printer language of the stream (see below)\n"
        "  -o, --output=PREFIX    file name prefix of the pages (default: FILE without\n"
        "                         its extension, or \"preview\" for standard input)\n"
        "  -r, --resolution=DPI   pixels per inch of the pictures, %d to %d (default: the\n"
        "                         printer's own, each dot one pixel)\n"
        "      --read             decode every symbol and list it on standard output:\n"
        "                         page, inches from the left, from the top, symbology, text\n"
        "  -h, --help             show this help and exit\n"
        "  -V, --version          show the version and exit\n"
        "\n"
        "Printers:\n",
        program, kMinDpi, kMaxDpi);
    for (const PrinterLanguage& l : printer_languages())
        std::fprintf(to, "  %-9s %.*s\n", std::string(l.name).c_str(),
                     static_cast<int>(l.printer.size()), l.printer.data());
    std::fprintf(to,
                 "\nExit status: 0 when every page was written (and, with --read, every symbol\n"
                 "read), 1 when the stream had problems or a symbol did not read, 2 on a usage\n"
                 "or file error.\n");
}

int fail_usage(const std::string& message) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program,
                 message.c_str(), program);
    return kExitTrouble;
}

// The input's bytes; false with errno set when it cannot be read.
bool read_input(const std::string& path, std::string& bytes) {
    if (path == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    // A file is read into one buffer of its size: the stream is the one
    // thing the preview holds whole, so it is held only once.
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    if (!f) return false;
    const std::streamoff size = f.tellg();
    if (size > 0) {
        bytes.resize(static_cast<size_t>(size));
        f.seekg(0);
        f.read(bytes.data(), size);
        bytes.resize(static_cast<size_t>(f.gcount()));
    }
    return !f.bad();
}

std::string default_prefix(const std::string& input) {
    if (input == "-") return "preview";
    const size_t slash = input.rfind('/');
    const size_t dot = input.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1))
        return input.substr(0, dot);
    return input;
}

// Parses the command line; returns -1 to go on, else the exit status.
int parse(int argc, char** argv, Options& o) {
    enum { kRead = 256 };
    static const option longopts[] = {
        {"printer", required_argument, nullptr, 'p'},
        {"output", required_argument, nullptr, 'o'},
        {"resolution", required_argument, nullptr, 'r'},
        {"read", no_argument, nullptr, kRead},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;
    int c;
    while ((c = getopt_long(argc, argv, ":p:o:r:hV", longopts, nullptr)) != -1) {
        switch (c) {
        case 'p':
            o.printer = optarg;
            break;
        case 'o':
            o.prefix = optarg;
            break;
        case 'r': {
            char* end = nullptr;
            const long v = std::strtol(optarg, &end, 10);
            if (end == optarg || *end != '\0' || v < kMinDpi || v > kMaxDpi)
                return fail_usage("resolution '" + std::string(optarg) + "' is not a number from " +
                                  std::to_string(kMinDpi) + " to " + std::to_string(kMaxDpi));
            o.dpi = static_cast<int>(v);
            break;
        }
        case kRead:
            o.read = true;
            break;
        case 'h':
            usage(stdout);
            return kExitClean;
        case 'V':
            std::printf("%s %s\n", program, KEVRA_VERSION);
            return kExitClean;
        case ':':
            return fail_usage(std::string("option '") + argv[optind - 1] + "' needs a value");
        default:
            return fail_usage(std::string("unknown option '") + argv[optind - 1] + "'");
        }
    }
    if (optind + 1 < argc) return fail_usage("one input file at most");
    if (optind < argc) o.input = argv[optind];
    if (o.printer.empty()) return fail_usage("no printer given (--printer NAME)");
    return -1;
}

struct Run {
    const Options& o;
    int pages = 0;
    int findings = 0;
    bool trouble = false;

    void sheet(Sheet&& s) {
        ++pages;
        for (const std::string& p : s.problems)
            std::fprintf(stderr, "%s: page %d: %s\n", program, pages, p.c_str());
        findings += static_cast<int>(s.problems.size());
        if (trouble) return; // a page could not be written: the rest only counts
        const Bitmap page = compose(s);
        const std::string path = o.prefix + "-" + std::to_string(pages) + ".png";
        std::string why;
        if (!write_png(path, page, s.dpi, o.dpi, &why)) {
            std::fprintf(stderr, "%s: cannot write %s: %s\n", program, path.c_str(), why.c_str());
            trouble = true;
            return;
        }
        if (o.read) read(s, page);
    }

    void read(const Sheet& s, const Bitmap& page) {
        for (const FoundSymbol& f : read_symbols(s.ink, page, s.dpi)) {
            if (f.decoded) {
                std::printf("%d %.2f %.2f %s %s\n", pages, f.x, f.y, f.format.c_str(),
                            escape_text(f.text).c_str());
                continue;
            }
            std::fprintf(stderr,
                         "%s: page %d: graphics at %.2f %.2f in (%.2f x %.2f in) did not read\n",
                         program, pages, f.x, f.y, f.w, f.h);
            ++findings;
        }
        std::fflush(stdout);
    }
};
} // namespace

int main(int argc, char** argv) {
    Options o;
    if (const int status = parse(argc, argv, o); status >= 0) return status;
    const PrinterLanguage* lang = find_language(o.printer);
    if (lang == nullptr) {
        std::string names;
        for (const PrinterLanguage& l : printer_languages())
            names += (names.empty() ? "" : ", ") + std::string(l.name);
        return fail_usage("unknown printer '" + o.printer + "' (one of " + names + ")");
    }
    std::string bytes;
    if (!read_input(o.input, bytes)) {
        std::fprintf(stderr, "%s: cannot read %s: %s\n", program,
                     o.input == "-" ? "standard input" : o.input.c_str(), std::strerror(errno));
        return kExitTrouble;
    }
    if (o.prefix.empty()) o.prefix = default_prefix(o.input);
    Run run{o};
    lang->render(bytes, [&](Sheet&& s) { run.sheet(std::move(s)); });
    if (run.trouble) return kExitTrouble;
    if (run.pages == 0) {
        std::fprintf(stderr, "%s: the stream prints nothing\n", program);
        return kExitFindings;
    }
    return run.findings > 0 ? kExitFindings : kExitClean;
}
