#include "preview/printed_page.hpp"

const PrintedChar* PrintedPage::charat(int x, int y) const {
    for (const PrintedChar& c : chars)
        if (c.x == x && c.y == y) return &c;
    return nullptr;
}
