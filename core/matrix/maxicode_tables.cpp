#include "core/matrix/maxicode_tables.hpp"

#include <iterator>

// clang-format off
// Code set A (ISO/IEC 16023, code set tables): bytes 16j .. 16j + 15 on line j.
constexpr uint8_t maxicode_sextabA[] = {
    254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,   0, 254, 254,
    254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,  28,  29,  30, 254,
     32, 251,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,  44,  45,  46,  47,
     48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58, 251, 251, 251, 251, 251,
    251,   1,   2,   3,   4,   5,   6,   7,   8,   9,  10,  11,  12,  13,  14,  15,
     16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26, 251, 251, 251, 251, 251,
    251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251,
    251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 253, 253, 253, 253, 253, 253,
    253, 253, 253, 253, 253, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,
    254, 253, 254, 254, 254, 254, 254, 254, 253, 254, 252, 253, 252, 254, 254, 253,
    253, 252, 252, 252, 253, 252, 254, 253, 253, 252, 252, 253, 252, 252, 252, 253,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252,
    253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253,
    253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253,
};
static_assert(sizeof maxicode_sextabA == 256);

// Code set B (ISO/IEC 16023, code set tables): bytes 16j .. 16j + 15 on line j.
constexpr uint8_t maxicode_sextabB[] = {
    254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 250, 254, 254,
    254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,  28,  29,  30, 254,
     47,  53, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250,  48, 250,  49,  50,
    250, 250, 250, 250, 250, 250, 250, 250, 250, 250,  51,  37,  38,  39,  40,  41,
     52, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250,
    250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250,  42,  43,  44,  45,  46,
      0,   1,   2,   3,   4,   5,   6,   7,   8,   9,  10,  11,  12,  13,  14,  15,
     16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  32,  54,  34,  35,  36,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 253, 253, 253, 253, 253, 253,
    253, 253, 253, 253, 253, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,
    254, 253, 254, 254, 254, 254, 254, 254, 253, 254, 252, 253, 252, 254, 254, 253,
    253, 252, 252, 252, 253, 252, 254, 253, 253, 252, 252, 253, 252, 252, 252, 253,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252,
    253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253,
    253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253,
};
static_assert(sizeof maxicode_sextabB == 256);

// Code set C (ISO/IEC 16023, code set tables): bytes 16j .. 16j + 15 on line j.
constexpr uint8_t maxicode_sextabC[] = {
    254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 250, 254, 254,
    254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,  28,  29,  30, 254,
     59, 251, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250,
    250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 251, 251, 251, 251, 251,
    251, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250,
    250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 251, 251, 251, 251, 251,
    251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251,
    251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251,
     48,  49,  50,  51,  52,  53,  54,  55,  56,  57, 253, 253, 253, 253, 253, 253,
    253, 253, 253, 253, 253, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,
    254, 253, 254, 254, 254, 254, 254, 254, 253, 254,  37, 253,  38, 254, 254, 253,
    253,  39,  40,  41, 253,  42, 254, 253, 253,  43,  44, 253,  45,  46,  47, 253,
      0,   1,   2,   3,   4,   5,   6,   7,   8,   9,  10,  11,  12,  13,  14,  15,
     16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  32,  33,  34,  35,  36,
    253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253,
    253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253,
};
static_assert(sizeof maxicode_sextabC == 256);

// Code set D (ISO/IEC 16023, code set tables): bytes 16j .. 16j + 15 on line j.
constexpr uint8_t maxicode_sextabD[] = {
    254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 250, 254, 254,
    254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,  28,  29,  30, 254,
     59, 251, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250,
    250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 251, 251, 251, 251, 251,
    251, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250,
    250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 251, 251, 251, 251, 251,
    251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251,
    251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252,  47,  48,  49,  50,  51,  52,
     53,  54,  55,  56,  57, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,
    254,  37, 254, 254, 254, 254, 254, 254,  38, 254, 252,  39, 252, 254, 254,  40,
     41, 252, 252, 252,  42, 252, 254,  43,  44, 252, 252,  45, 252, 252, 252,  46,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252,
      0,   1,   2,   3,   4,   5,   6,   7,   8,   9,  10,  11,  12,  13,  14,  15,
     16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  32,  33,  34,  35,  36,
};
static_assert(sizeof maxicode_sextabD == 256);

// Code set E (ISO/IEC 16023, code set tables): bytes 16j .. 16j + 15 on line j.
constexpr uint8_t maxicode_sextabE[] = {
      0,   1,   2,   3,   4,   5,   6,   7,   8,   9,  10,  11,  12,  13,  14,  15,
     16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  30,  32,  33,  34,  35,
     59, 251, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250,
    250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 251, 251, 251, 251, 251,
    251, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250,
    250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 251, 251, 251, 251, 251,
    251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251,
    251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251, 251,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 253, 253, 253, 253, 253, 253,
    253, 253, 253, 253, 253,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  36,
     37, 253,  38,  39,  40,  41,  42,  43, 253,  44, 252, 253, 252,  45,  46, 253,
    253, 252, 252, 252, 253, 252,  47, 253, 253, 252, 252, 253, 252, 252, 252, 253,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252,
    252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252,
    253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253,
    253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253,
};
static_assert(sizeof maxicode_sextabE == 256);

// Module sequence of the 33-row symbol (ISO/IEC 16023, module sequence figure):
// one grid row on two lines, columns 0-14 and 15-29.
constexpr int16_t maxicode_hexbits[] = {
    122, 121, 128, 127, 134, 133, 140, 139, 146, 145, 152, 151, 158, 157, 164,  // row 0
    163, 170, 169, 176, 175, 182, 181, 188, 187, 194, 193, 200, 199,  -1,  -1,
    124, 123, 130, 129, 136, 135, 142, 141, 148, 147, 154, 153, 160, 159, 166,  // row 1
    165, 172, 171, 178, 177, 184, 183, 190, 189, 196, 195, 202, 201, 817,   0,
    126, 125, 132, 131, 138, 137, 144, 143, 150, 149, 156, 155, 162, 161, 168,  // row 2
    167, 174, 173, 180, 179, 186, 185, 192, 191, 198, 197, 204, 203, 819, 818,
    284, 283, 278, 277, 272, 271, 266, 265, 260, 259, 254, 253, 248, 247, 242,  // row 3
    241, 236, 235, 230, 229, 224, 223, 218, 217, 212, 211, 206, 205, 820,   0,
    286, 285, 280, 279, 274, 273, 268, 267, 262, 261, 256, 255, 250, 249, 244,  // row 4
    243, 238, 237, 232, 231, 226, 225, 220, 219, 214, 213, 208, 207, 822, 821,
    288, 287, 282, 281, 276, 275, 270, 269, 264, 263, 258, 257, 252, 251, 246,  // row 5
    245, 240, 239, 234, 233, 228, 227, 222, 221, 216, 215, 210, 209, 823,   0,
    290, 289, 296, 295, 302, 301, 308, 307, 314, 313, 320, 319, 326, 325, 332,  // row 6
    331, 338, 337, 344, 343, 350, 349, 356, 355, 362, 361, 368, 367, 825, 824,
    292, 291, 298, 297, 304, 303, 310, 309, 316, 315, 322, 321, 328, 327, 334,  // row 7
    333, 340, 339, 346, 345, 352, 351, 358, 357, 364, 363, 370, 369, 826,   0,
    294, 293, 300, 299, 306, 305, 312, 311, 318, 317, 324, 323, 330, 329, 336,  // row 8
    335, 342, 341, 348, 347, 354, 353, 360, 359, 366, 365, 372, 371, 828, 827,
    410, 409, 404, 403, 398, 397, 392, 391,  80,  79,  -1,  -1,  14,  13,  38,  // row 9
     37,   3,   0,  45,  44, 110, 109, 386, 385, 380, 379, 374, 373, 829,   0,
    412, 411, 406, 405, 400, 399, 394, 393,  82,  81,  41,  -1,  16,  15,  40,  // row 10
     39,   4,   0,   0,  46, 112, 111, 388, 387, 382, 381, 376, 375, 831, 830,
    414, 413, 408, 407, 402, 401, 396, 395,  84,  83,  42,   0,   0,   0,   0,  // row 11
      0,   6,   5,  48,  47, 114, 113, 390, 389, 384, 383, 378, 377, 832,   0,
    416, 415, 422, 421, 428, 427, 104, 103,  56,  55,  17,   0,   0,   0,   0,  // row 12
      0,   0,   0,  21,  20,  86,  85, 434, 433, 440, 439, 446, 445, 834, 833,
    418, 417, 424, 423, 430, 429, 106, 105,  58,  57,   0,   0,   0,   0,   0,  // row 13
      0,   0,   0,  23,  22,  88,  87, 436, 435, 442, 441, 448, 447, 835,   0,
    420, 419, 426, 425, 432, 431, 108, 107,  60,  59,   0,   0,   0,   0,   0,  // row 14
      0,   0,   0,   0,  24,  90,  89, 438, 437, 444, 443, 450, 449, 837, 836,
    482, 481, 476, 475, 470, 469,  49,  -1,  31,   0,   0,   0,   0,   0,   0,  // row 15
      0,   0,   0,   0,   1,  54,  53, 464, 463, 458, 457, 452, 451, 838,   0,
    484, 483, 478, 477, 472, 471,  50,   0,  -1,   0,   0,   0,   0,   0,   0,  // row 16
      0,   0,   0,   0,   0,  -1,   0, 466, 465, 460, 459, 454, 453, 840, 839,
    486, 485, 480, 479, 474, 473,  52,  51,  32,   0,   0,   0,   0,   0,   0,  // row 17
      0,   0,   0,   0,   2,  -1,  43, 468, 467, 462, 461, 456, 455, 841,   0,
    488, 487, 494, 493, 500, 499,  98,  97,  62,  61,   0,   0,   0,   0,   0,  // row 18
      0,   0,   0,   0,  27,  92,  91, 506, 505, 512, 511, 518, 517, 843, 842,
    490, 489, 496, 495, 502, 501, 100,  99,  64,  63,   0,   0,   0,   0,   0,  // row 19
      0,   0,   0,  29,  28,  94,  93, 508, 507, 514, 513, 520, 519, 844,   0,
    492, 491, 498, 497, 504, 503, 102, 101,  66,  65,  18,   0,   0,   0,   0,  // row 20
      0,   0,   0,  19,  30,  96,  95, 510, 509, 516, 515, 522, 521, 846, 845,
    560, 559, 554, 553, 548, 547, 542, 541,  74,  73,  33,   0,   0,   0,   0,  // row 21
      0,   0,  11,  68,  67, 116, 115, 536, 535, 530, 529, 524, 523, 847,   0,
    562, 561, 556, 555, 550, 549, 544, 543,  76,  75,  -1,   0,   8,   7,  36,  // row 22
     35,  12,  -1,  70,  69, 118, 117, 538, 537, 532, 531, 526, 525, 849, 848,
    564, 563, 558, 557, 552, 551, 546, 545,  78,  77,  -1,  34,  10,   9,  26,  // row 23
     25,   0,  -1,  72,  71, 120, 119, 540, 539, 534, 533, 528, 527, 850,   0,
    566, 565, 572, 571, 578, 577, 584, 583, 590, 589, 596, 595, 602, 601, 608,  // row 24
    607, 614, 613, 620, 619, 626, 625, 632, 631, 638, 637, 644, 643, 852, 851,
    568, 567, 574, 573, 580, 579, 586, 585, 592, 591, 598, 597, 604, 603, 610,  // row 25
    609, 616, 615, 622, 621, 628, 627, 634, 633, 640, 639, 646, 645, 853,   0,
    570, 569, 576, 575, 582, 581, 588, 587, 594, 593, 600, 599, 606, 605, 612,  // row 26
    611, 618, 617, 624, 623, 630, 629, 636, 635, 642, 641, 648, 647, 855, 854,
    728, 727, 722, 721, 716, 715, 710, 709, 704, 703, 698, 697, 692, 691, 686,  // row 27
    685, 680, 679, 674, 673, 668, 667, 662, 661, 656, 655, 650, 649, 856,   0,
    730, 729, 724, 723, 718, 717, 712, 711, 706, 705, 700, 699, 694, 693, 688,  // row 28
    687, 682, 681, 676, 675, 670, 669, 664, 663, 658, 657, 652, 651, 858, 857,
    732, 731, 726, 725, 720, 719, 714, 713, 708, 707, 702, 701, 696, 695, 690,  // row 29
    689, 684, 683, 678, 677, 672, 671, 666, 665, 660, 659, 654, 653, 859,   0,
    734, 733, 740, 739, 746, 745, 752, 751, 758, 757, 764, 763, 770, 769, 776,  // row 30
    775, 782, 781, 788, 787, 794, 793, 800, 799, 806, 805, 812, 811, 861, 860,
    736, 735, 742, 741, 748, 747, 754, 753, 760, 759, 766, 765, 772, 771, 778,  // row 31
    777, 784, 783, 790, 789, 796, 795, 802, 801, 808, 807, 814, 813, 862,   0,
    738, 737, 744, 743, 750, 749, 756, 755, 762, 761, 768, 767, 774, 773, 780,  // row 32
    779, 786, 785, 792, 791, 798, 797, 804, 803, 810, 809, 816, 815, 864, 863,
};
static_assert(std::size(maxicode_hexbits) == 990);
// clang-format on

namespace {
constexpr int32_t STREAMBITS = 6 * 144;

// Row-word bit of module i of maxicode_hexbits (row i / 30, column i % 30).
constexpr uint16_t gridbit(int32_t i) {
    return static_cast<uint16_t>(32 * (i / MAXICODE_COLUMNS) + i % MAXICODE_COLUMNS);
}

// Where each bit of the codeword stream lies (bit k: codeword k / 6, most
// significant bit first); none when the map does not hold every bit once.
struct placement {
    std::array<uint16_t, STREAMBITS> at{};
    bool complete = false;
};
constexpr placement makeplacement() {
    placement p;
    std::array<int, STREAMBITS + 1> seen{};
    for (int32_t i = 0; i < MAXICODE_ROWS * MAXICODE_COLUMNS; ++i) {
        const int32_t k = maxicode_hexbits[i];
        if (k < -1 || k > STREAMBITS) return p;
        if (k <= 0) continue;
        if (++seen[static_cast<size_t>(k)] != 1) return p;
        p.at[static_cast<size_t>(k - 1)] = gridbit(i);
    }
    for (int32_t k = 1; k <= STREAMBITS; ++k)
        if (seen[static_cast<size_t>(k)] != 1) return p;
    p.complete = true;
    return p;
}
constexpr placement bitplace = makeplacement();
static_assert(bitplace.complete, "the module map holds every codeword bit once");

// True when stream bit k (a less significant one, k odd) lies just left of
// bit k - 1 of the same codeword, so that both go on as one piece.
constexpr bool paired(int32_t k) {
    const uint16_t low = bitplace.at[static_cast<size_t>(k)];
    return k % 2 == 1 && low % 32 != 31 && bitplace.at[static_cast<size_t>(k - 1)] == low + 1;
}

// The pieces row by row, left to right: the module of a pair's less
// significant bit stands for the pair, every other codeword module for its
// bit. Returns the number of pieces; fills `out` and `rowstart` (the first
// piece of each row, and the end) when given.
constexpr int32_t makepieces(maxicode_piece* out, uint16_t* rowstart) {
    int32_t n = 0;
    for (int32_t i = 0; i < MAXICODE_ROWS * MAXICODE_COLUMNS; ++i) {
        if (rowstart != nullptr && i % MAXICODE_COLUMNS == 0)
            rowstart[i / MAXICODE_COLUMNS] = static_cast<uint16_t>(n);
        const int32_t k = maxicode_hexbits[i] - 1;
        if (k < 0 || (k % 2 == 0 && paired(k + 1))) continue;
        if (out != nullptr) {
            const bool pair = paired(k);
            out[n] = {static_cast<uint8_t>(k / 6), static_cast<uint8_t>(5 - k % 6),
                      static_cast<uint8_t>(pair ? 3 : 1), gridbit(i)};
        }
        ++n;
    }
    if (rowstart != nullptr) rowstart[MAXICODE_ROWS] = static_cast<uint16_t>(n);
    return n;
}
static_assert(makepieces(nullptr, nullptr) == MAXICODE_PIECES);

struct piecetables {
    std::array<maxicode_piece, MAXICODE_PIECES> pieces{};
    std::array<uint16_t, MAXICODE_ROWS + 1> rowstart{};
};
constexpr piecetables makepiecetables() {
    piecetables t;
    makepieces(t.pieces.data(), t.rowstart.data());
    return t;
}
constexpr piecetables tables = makepiecetables();

constexpr std::array<uint32_t, MAXICODE_ROWS> makefixed() {
    std::array<uint32_t, MAXICODE_ROWS> rows{};
    for (int32_t i = 0; i < MAXICODE_ROWS * MAXICODE_COLUMNS; ++i)
        if (maxicode_hexbits[i] == -1) rows[gridbit(i) / 32u] |= 1u << (gridbit(i) % 32u);
    return rows;
}
} // namespace

constexpr std::array<maxicode_piece, MAXICODE_PIECES> maxicode_pieces = tables.pieces;
constexpr std::array<uint16_t, MAXICODE_ROWS + 1> maxicode_piecerows = tables.rowstart;
constexpr std::array<uint32_t, MAXICODE_ROWS> maxicode_fixedrows = makefixed();

const uint8_t* const maxicode_sextabs[5] = {maxicode_sextabA, maxicode_sextabB, maxicode_sextabC,
                                            maxicode_sextabD, maxicode_sextabE};

const maxicode_paintdsc maxicode_paintdsc300 = {300, 304, 300, 10, 11, 10, 9, 5};

namespace {
// Radii of the six zones of the finder, from the centre out, in hundredths of
// a millimetre (the standard's nominal finder dimensions): a light centre,
// then dark, light, dark, light and dark rings.
constexpr int32_t bullsradii[6] = {51, 118, 186, 253, 320, 387};

// Zone of the dot whose centre lies (dx, dy) half-dots from the centre: the
// number of radii it lies beyond, at 300 dpi. A radius of m hundredths of a
// millimetre is 15m/127 dots, so the comparison d^2 / 4 > (15m/127)^2 runs
// in integers as d^2 * 127^2 > 900 m^2.
constexpr int bullszone(int64_t dx, int64_t dy) {
    const int64_t d2 = dx * dx + dy * dy;
    int zone = 0;
    for (int32_t m : bullsradii) {
        if (d2 * 127 * 127 > 900 * static_cast<int64_t>(m) * m) ++zone;
    }
    return zone;
}

constexpr std::array<uint8_t, 12 * MAXICODE_BULLS_HEIGHT> makebulls() {
    std::array<uint8_t, 12 * MAXICODE_BULLS_HEIGHT> image{};
    for (int y = 0; y < MAXICODE_BULLS_HEIGHT; ++y) {
        for (int x = 0; x < MAXICODE_BULLS_WIDTH; ++x) {
            const int zone =
                bullszone(2 * x + 1 - MAXICODE_BULLS_WIDTH, 2 * y + 1 - MAXICODE_BULLS_HEIGHT);
            if (zone == 1 || zone == 3 || zone == 5)
                image[12 * y + x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
        }
    }
    return image;
}

// A hexagon with vertical flat sides standing on a point: vertices at the top
// and bottom centre and at a quarter and three quarters of the height on
// either side, so that the slanted edges of neighbouring rows, 9 dots apart
// and offset by half a module, meet.
constexpr std::array<uint8_t, 2 * 11> makeblack() {
    std::array<uint8_t, 2 * 11> image{};
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 10; ++x) {
            // Half-dot distances of the dot's centre from the hexagon's centre.
            const int dx = 2 * x + 1 - 10 < 0 ? 10 - 2 * x - 1 : 2 * x + 1 - 10;
            const int dy = 2 * y + 1 - 11 < 0 ? 11 - 2 * y - 1 : 2 * y + 1 - 11;
            // Inside when dy <= 11 - dx * 11 / 20 (the slant falls 2.75 dots
            // over 5).
            if (20 * dy <= 220 - 11 * dx)
                image[2 * y + x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
        }
    }
    return image;
}
} // namespace

constexpr std::array<uint8_t, 12 * MAXICODE_BULLS_HEIGHT> maxicode_bulls12 = makebulls();
constexpr std::array<uint8_t, 2 * 11> maxicode_black12 = makeblack();
