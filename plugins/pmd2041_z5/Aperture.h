// The zoom module's iris, from the widest aperture to closed. The parameter record carries both
// lists; the auto-focus iris table repeats the light and position columns.
#pragma once

#include "SensorRecords.h"

constexpr uint32_t kIrisClosed = 0x100000;

// F-numbers in BCD: 0x0506 is F5.6.
constexpr uint32_t kApertureCodes[13] = {0x0106, 0x0200, 0x0204, 0x0208, 0x0304, 0x0400,     0x0408,
                                         0x0506, 0x0800, 0x0906, 0x1100, 0x1600, kIrisClosed};

// Light falls from 512 to 0 as the iris motor's position rises from 0 to 1023.
constexpr aperture_row_st kApertureTable[15] = {
    {0x0106, 512, 0},   {0x0107, 458, 188}, {0x0108, 428, 237},     {0x0200, 338, 385},
    {0x0204, 249, 530}, {0x0208, 175, 652}, {0x0304, 118, 745},     {0x0400, 79, 809},
    {0x0408, 64, 833},  {0x0506, 40, 873},  {0x0800, 28, 892},      {0x0906, 18, 909},
    {0x1100, 11, 920},  {0x1600, 6, 928},   {kIrisClosed, 0, 1023},
};
