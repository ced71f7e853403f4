// Source unit "SensorFile".
#include "SensorFile.h"

std::atomic<bool> g_bShoWBeawayFalg{true};

void setshowBeawayFalg(bool p_bShow) {
    g_bShoWBeawayFalg.store(p_bShow);
}

bool getshowBeawayFalg() {
    return g_bShoWBeawayFalg.load();
}
