// Character FIFO: a fixed ring buffer of bytes held inside its owner.
#pragma once

#include <cstdint>

struct cfifo {
    int32_t count;
    int32_t putidx;
    int32_t getidx;
    int32_t capacity;
    uint8_t data[2048];
};

void cfifo_open(cfifo* f);
void cfifo_clear(cfifo* f);
// Stores a byte; a full FIFO drops it.
void cfifo_putc(cfifo* f, int c);
// Takes the oldest byte; an empty FIFO gives 0 and changes nothing.
int cfifo_getc(cfifo* f);
void cfifo_close(cfifo* f);
