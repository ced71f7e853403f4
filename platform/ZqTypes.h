// Fixed-width names shared by the device framework, the ISP control library and libluxtune.
#pragma once

#include <stdint.h>

typedef uint8_t u8;
typedef uint16_t u16;
typedef uint32_t u32;
typedef int32_t s32;
typedef int64_t INT64;
