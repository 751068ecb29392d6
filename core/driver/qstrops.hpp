// Qstr strings: caller-owned byte buffers whose text starts at qstr_base and
// ends at the first NUL. Nothing here allocates. Every operation that writes
// takes the destination's capacity in bytes (terminator included) and never
// writes past it: text that would not fit is cut.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr size_t qstr_base = 0;

size_t qstr_len(const char* s);
// Ends the text at n (n must lie inside the buffer).
void qstr_setlen(char* s, size_t n);
char* qstr_cpy(char* dst, size_t cap, const char* src);
// Copies the first min(n, length of src) bytes of src and terminates dst.
char* qstr_subcpy(char* dst, size_t cap, const char* src, size_t n);
char* qstr_catchr(char* s, size_t cap, char c);
// Inserts the text of t before position pos (beyond the end: appends).
char* qstr_ins(char* s, size_t cap, const char* t, size_t pos);
// Removes n bytes at pos, n clipped to what follows pos.
char* qstr_del(char* s, size_t pos, size_t n);
// -1, 0 or 1; bytes compare unsigned, a proper prefix is the smaller.
int qstr_cmp(const char* a, const char* b);
char* qstr_toupper(char* s);
char* qstr_chopleading(char* s, char c);
// Decimal value; any non-digit makes it 0. No overflow check (values are
// validated first by the callers).
uint32_t qstr_toi(const char* s);
// Tokens separated by runs of sep, after leading spaces and separators; an
// empty remainder counts as one (empty) token.
uint32_t qstr_countparms(const char* s, char sep);
// Removes the first token (see qstr_countparms) from s into token.
char* qstr_parse(char* s, char* token, size_t tokencap, char sep);

template <size_t N> char* qstr_cpy(char (&dst)[N], const char* src) {
    return qstr_cpy(dst, N, src);
}
template <size_t N> char* qstr_subcpy(char (&dst)[N], const char* src, size_t n) {
    return qstr_subcpy(dst, N, src, n);
}
template <size_t N> char* qstr_catchr(char (&s)[N], char c) { return qstr_catchr(s, N, c); }
template <size_t N> char* qstr_ins(char (&s)[N], const char* t, size_t pos) {
    return qstr_ins(s, N, t, pos);
}
template <size_t N> char* qstr_parse(char* s, char (&token)[N], char sep) {
    return qstr_parse(s, token, N, sep);
}
