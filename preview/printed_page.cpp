#include "preview/printed_page.hpp"

#include <algorithm>
#include <climits>

const PrintedChar* PrintedPage::charat(int x, int y) const {
    for (const PrintedChar& c : chars)
        if (c.x == x && c.y == y) return &c;
    return nullptr;
}

Bitmap pin_ink(const Bitmap& ink, int grow) {
    Bitmap out(ink.width + grow, ink.height); // the last dot grows to its right too
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x)
            if (ink.get(x, y)) out.fill(x - grow, y, 2 * grow + 1, 1);
    return out;
}

int PagedPaper::sheetend(int pagetop, int pagelen) const {
    if (pagelen <= 0) return INT_MAX;
    const int d = top - pagetop;
    const int pages = d >= 0 ? d / pagelen : -((-d + pagelen - 1) / pagelen);
    return pagetop + (pages + 1) * pagelen;
}

void PagedPaper::cut(PrintedPage& paper, int end, int pagelen, int width) {
    PrintedPage sheet;
    const int rows = end - top;
    sheet.page = paper.page.crop(0, 0, width, rows);
    for (const PrintedChar& c : paper.chars)
        if (c.y < end) sheet.chars.push_back({c.x, c.y - top, c.c});
    std::erase_if(paper.chars, [&](const PrintedChar& c) { return c.y < end; });
    sheet.problems = std::move(paper.problems);
    paper.problems.clear();
    sheet.endy = rows;
    paper.page = paper.page.crop(0, rows, paper.page.width, std::max(1, paper.page.height - rows));
    top = end;
    if (rows == pagelen || !sheet.chars.empty() || sheet.page.ink().w > 0 ||
        !sheet.problems.empty())
        (*sink)(std::move(sheet));
}

void PagedPaper::turn(PrintedPage& paper, int y, int pagetop, int pagelen, int width) {
    while (y >= sheetend(pagetop, pagelen)) cut(paper, sheetend(pagetop, pagelen), pagelen, width);
}

void PagedPaper::finish(PrintedPage& paper, int y, int pagetop, int pagelen, int width) {
    turn(paper, y, pagetop, pagelen, width);
    const auto blank = [&] { return paper.chars.empty() && paper.page.ink().w == 0; };
    if (pagelen <= 0) {
        // One sheet to the end of what printed.
        if (!blank() || !paper.problems.empty())
            cut(paper, std::max(top + paper.page.height, y + 1), pagelen, width);
        return;
    }
    while (!blank() || !paper.problems.empty())
        cut(paper, sheetend(pagetop, pagelen), pagelen, width);
}
