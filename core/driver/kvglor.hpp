// core/driver, layer 1 (base): state, status, byte layer, qstr, output; includes no other layer.
// The translator state: one record carrying everything of a translation, and
// the printer driver's entry record. Every operation takes the state first;
// the core reaches the printer driver only through the slots below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

#include "core/driver/jerr.hpp"

struct kv_glor;
struct kv_field;

// Byte source and sink of the translator: (argument, byte) -> status.
using kv_iofn = kv_status (*)(void* arg, int32_t* c);

// Driver slots.
using kv_lgetc_fn = kv_status (*)(kv_glor* s, int32_t* c);
using kv_lprintc_fn = kv_status (*)(kv_glor* s, int32_t c);
using kv_initprn_fn = kv_status (*)(kv_glor* s);
using kv_specialcmd_fn = kv_status (*)(kv_glor* s, char* text);
using kv_lplotcode_fn = kv_status (*)(kv_glor* s);
using kv_lrelpos_fn = kv_status (*)(kv_glor* s, int32_t dx, int32_t dy);
using kv_lsetrect_fn = kv_status (*)(kv_glor* s, int32_t width, int32_t height);
using kv_setregion_fn = kv_status (*)(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                                      int32_t density);
using kv_qoutc_fn = kv_status (*)(kv_glor* s, int32_t c);
using kv_endinput_fn = kv_status (*)(kv_glor* s);

// The slots of a printer driver, in slot order: the ten every driver fills,
// then the optional ones (null when left out of an entry record).
struct kv_prnslots {
    int32_t prncode;
    kv_lgetc_fn lgetc;
    kv_lprintc_fn lprintc;
    kv_initprn_fn initprn;
    kv_specialcmd_fn specialcmd;
    kv_lplotcode_fn lplotcode; // page printers only, else null
    kv_lrelpos_fn lrelpos;     // page printer with cursor moves only, else null
    kv_lsetrect_fn lsetrect;   // page printer with rectangles only, else null
    kv_setregion_fn setregion;
    kv_qoutc_fn qoutc;
    // Once the input has ended and every byte read is handled: prints what the
    // driver still holds back (band printers: the pending fields), or null.
    kv_endinput_fn endinput = nullptr;
};

// Defined by the one program unit of each build.
extern const int32_t kv_printercode;
extern const char* const kv_printername;
extern const kv_prnslots kv_prnentry;

// One field type's parameter set (the command letters B, S, C, I, R, A).
struct kv_ftype {
    int32_t type;    // field type code; 0 ends the table
    int32_t subtype; // subset letter, or 0
    int32_t check;   // check scheme or error-correction setting
    int32_t indent;
    int32_t widths[8]; // {bar, space} for element classes 0..3, narrowest first
};

inline constexpr int KV_NFTYPES = 16;
inline constexpr int KV_CONFIG_WORDS = 7;
inline constexpr int KV_CONFIG_PAGELINES = 2;
inline constexpr int KV_DLMMAX = 32;
inline constexpr size_t KV_BANDBYTES = 6642;
inline constexpr size_t KV_DRVWORKBYTES = 2048;

// The table kv_ptakeplain scans with: a driver's plain bytes (as 0 or 1) less
// the first bytes of the two delimiters, made again only when the driver's
// table or one of those bytes changes.
struct kv_runtable {
    const uint8_t* plain; // the driver's table it was made from; null: none yet
    uint8_t cmd;          // the first bytes of the delimiters it was made for
    uint8_t data;
    // The highest byte the word test of printable ASCII passes (see
    // kv_ptakeplain); 0: no word test, the driver's table refuses some of it.
    uint8_t wordhi;
    // 1: the word test compares bytes with the delimiters' first bytes.
    uint8_t worddlm;
    uint8_t go[256];
};

struct kv_glor {
    // Run control.
    kv_status status;
    int32_t stop;
    int32_t restart;
    int32_t lineno;
    char initcmd[256];
    int32_t config[KV_CONFIG_WORDS];
    int32_t savedpitch;
    int32_t savedspacing;
    int32_t resetstart;
    int32_t resetff;
    int32_t addcr;
    int32_t debug;
    int32_t squishcr;
    int32_t crcount;
    int32_t holdlf;
    int32_t heldlf;

    // Byte I/O.
    kv_iofn xinfunc;
    kv_iofn xoutfunc;
    void* xinarg;
    void* xoutarg;
    uint8_t ungetbuf[32];
    int32_t ungetcount;
    kv_runtable runtable;

    // Driver slots, copied from kv_prnentry by kv_setprn.
    int32_t prncode;
    kv_lgetc_fn lgetc;
    kv_lprintc_fn lprintc;
    kv_initprn_fn initprn;
    kv_specialcmd_fn specialcmd;
    kv_lplotcode_fn lplotcode;
    kv_lrelpos_fn lrelpos;
    kv_lsetrect_fn lsetrect;
    kv_setregion_fn setregion;
    kv_qoutc_fn qoutc;
    kv_endinput_fn endinput;

    // Field queue (newest first) and the band bitmap the region setter fills.
    kv_field* fieldhead;
    uint8_t bandmap[KV_BANDBYTES];

    // Command parameters.
    int32_t padflag;
    // Nonzero while kv_qoutpad sends the spaces that stand for a sequence:
    // they are not input, and the text after the sequence waits for them.
    int32_t padding;
    char datadlm[KV_DLMMAX + 1];
    char cmddlm[KV_DLMMAX + 1];
    int32_t ornt;
    int32_t textopt;
    char compaction;
    float aspect;
    int32_t codewidth;
    int32_t codeheight;
    int32_t density;
    kv_ftype* curtype;
    kv_ftype ftypes[KV_NFTYPES];

    // Print position and printer geometry, kept by the driver.
    int32_t pitch;
    int32_t hpos;
    int32_t hdots;
    int32_t hdpi;
    int32_t vdpi;
    int32_t linespace;
    int32_t vpos;
    int32_t pagelen;
    int32_t autolf;

    // Work area private to the printer driver; see kv_drvwork.
    alignas(16) unsigned char drvwork[KV_DRVWORKBYTES];
};

// Nonzero while the translation must unwind: stop requested or
// initialisation pending.
inline int kv_breakall(const kv_glor* s) { return s->stop != 0 || s->restart != 0; }

// The driver's private record inside the work area. kv_drvwork_init creates
// it (value-initialised) when the driver initialises; kv_drvwork reaches it.
template <class T> T* kv_drvwork_init(kv_glor* s) {
    static_assert(sizeof(T) <= KV_DRVWORKBYTES, "driver work area too small");
    static_assert(alignof(T) <= 16, "driver work record over-aligned");
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
    return ::new (static_cast<void*>(s->drvwork)) T{};
}
template <class T> T* kv_drvwork(kv_glor* s) {
    return std::launder(reinterpret_cast<T*>(s->drvwork));
}

// Copies the build's driver entry record into the state. Always succeeds.
kv_status kv_setprn(kv_glor* s);
// Copies any driver's slots into the state, in slot order.
void kv_installslots(kv_glor* s, const kv_prnslots& e);
