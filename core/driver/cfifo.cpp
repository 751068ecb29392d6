#include "core/driver/cfifo.hpp"

void cfifo_open(cfifo* f) {
    f->capacity = static_cast<int32_t>(sizeof f->data);
    cfifo_clear(f);
}

void cfifo_clear(cfifo* f) {
    f->count = 0;
    f->putidx = 0;
    f->getidx = 0;
}

void cfifo_putc(cfifo* f, int c) {
    if (f->count >= f->capacity) return;
    f->data[f->putidx] = static_cast<uint8_t>(c);
    if (++f->putidx >= f->capacity) f->putidx = 0;
    ++f->count;
}

int cfifo_getc(cfifo* f) {
    if (f->count <= 0) return 0;
    int c = f->data[f->getidx];
    if (++f->getidx >= f->capacity) f->getidx = 0;
    --f->count;
    return c;
}

void cfifo_close(cfifo*) {}
