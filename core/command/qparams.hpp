// Command parameters: one letter and its value, validated and stored in the
// translator state or in the current field type's parameter set.
#pragma once

#include "core/driver/kvglor.hpp"

// Applies one parameter (modified in place: upper-cased, letter removed).
kv_status kv_quseparm(kv_glor* s, char* parameter);

// Every byte a decimal digit (empty passes), else IVNUM.
kv_status kv_numcheck(const char* text);
// Digits with at most one point (empty passes), else IVNUM.
kv_status kv_floatcheck(const char* text);

kv_status kv_setcurrentcode(kv_glor* s, char* value);
kv_status kv_setcheckscheme(kv_glor* s, char* value);
kv_status kv_setcodeheight(kv_glor* s, char* value);
kv_status kv_setcodeindent(kv_glor* s, char* value);
kv_status kv_setcompaction(kv_glor* s, char* value);
kv_status kv_setornt(kv_glor* s, char* value);
kv_status kv_setcodesubset(kv_glor* s, char* value);
kv_status kv_setcodewidth(kv_glor* s, char* value);
kv_status kv_setcodeaspect(kv_glor* s, char* value);
// R (all = 0: bars and spaces alike) and A on the linear types (all = 1: bar
// and space given separately), widest class first.
kv_status kv_setcoderatio(kv_glor* s, char* value, int all);
