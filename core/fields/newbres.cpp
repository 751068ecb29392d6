#include "core/fields/newbres.hpp"

#include <algorithm>
#include <cstdlib>

namespace {
int32_t magnitude(int32_t v) {
    const int64_t a = std::llabs(static_cast<int64_t>(v));
    return static_cast<int32_t>(std::min<int64_t>(a, BRES_MAXLEN));
}

// Division rounding toward minus infinity, and its non-negative remainder.
int64_t floordiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}
int64_t floormod(int64_t a, int64_t b) {
    return a - floordiv(a, b) * b;
}

int32_t clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}
} // namespace

void bres_open(bres_line* line, int32_t flags, int32_t dx, int32_t dy) {
    *line = bres_line{};
    line->flags = flags;
    const int32_t ax = magnitude(dx);
    const int32_t ay = magnitude(dy);
    line->swapped = ax <= ay ? 1 : 0;
    const int32_t major = line->swapped ? ay : ax;
    const int32_t minor = line->swapped ? ax : ay;
    if (dx >= 0 && dy >= 0)
        line->sign = 0;
    else if (dx < 0 && dy >= 0)
        line->sign = 1;
    else if (dx < 0)
        line->sign = 2;
    else
        line->sign = 3;
    line->stepoff = (flags & 3) == 0 ? 1 : 0;
    line->minor2 = 2 * minor;
    line->major2 = 2 * major;
    line->reload = line->minor2;
    if (minor >= 1) {
        line->errinit = line->stepoff ? minor + major : minor;
        line->q = major / minor;
        line->q1 = line->q + 1;
        line->rem2 = 2 * (major % minor);
    } else {
        line->errinit = major;
    }
    line->err = line->errinit;
}

int32_t bres_findstepn(bres_line* line, int32_t n) {
    line->err = line->errinit;
    if (n <= 0) return 0;
    if (line->minor2 == 0) return line->major2 / 2 + 1; // a single run: no later step
    const int64_t num = static_cast<int64_t>(n - line->stepoff) * line->major2 + line->errinit;
    const int64_t quot = floordiv(num, line->minor2);
    line->err = static_cast<int32_t>(line->minor2 - floormod(num, line->minor2));
    line->lastq = clamp32(quot);
    return line->lastq;
}

int32_t bres_findoffset(bres_line* line, int32_t n) {
    line->err = line->errinit;
    if (n <= 0 || line->major2 == 0) return 0;
    const int64_t num = line->errinit + static_cast<int64_t>(n) * line->minor2 - 1;
    const int64_t quot = floordiv(num, line->major2);
    line->err = static_cast<int32_t>(floormod(num, line->major2) + 1);
    line->lastq = clamp32(quot);
    return line->lastq;
}

int32_t bres_firststeplen(bres_line* line) {
    if (line->minor2 == 0) return line->major2 / 2 + 1;
    const int64_t a = static_cast<int64_t>(line->major2) - line->err;
    const int64_t quot = floordiv(a, line->minor2);
    line->err = static_cast<int32_t>(line->minor2 - floormod(a, line->minor2));
    line->lastq = clamp32(quot);
    return clamp32(quot + 1);
}

int32_t bres_nextsteplen(bres_line* line) {
    if (line->minor2 == 0) return 0;
    line->err -= line->rem2;
    if (line->err > 0) return line->q;
    line->err += line->reload;
    return line->q1;
}

int32_t bres_nextstepinc(bres_line* line) {
    const int64_t e = static_cast<int64_t>(line->err) + line->minor2;
    if (e > line->major2) {
        line->err = static_cast<int32_t>(e - line->major2);
        return 1;
    }
    line->err = static_cast<int32_t>(e);
    return 0;
}

void bres_close(bres_line*) {}
