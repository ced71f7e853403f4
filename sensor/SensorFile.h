// Source unit "SensorFile": parameter files, the UI style document and the show-beaway flag.
#pragma once

#include <atomic>

#include "SensorDef.h"

// Whether the UI offers the beaway control; one flag for the whole library.
extern LUXTUNE_API std::atomic<bool> g_bShoWBeawayFalg;
LUXTUNE_API void setshowBeawayFalg(bool p_bShow);
LUXTUNE_API bool getshowBeawayFalg();
