// The descriptor's callbacks, common to every sensor plug-in; the plug-in's profile supplies
// its own values.
#include "SensorPlugin.h"

#include <stdio.h>
#include <string.h>

#include "vendor_isp.h"

namespace {

const char kChipName[] = "novatek_nt98530";
const char kMatchVersion[] = "c00b39";  // what the framework asks for, whatever our own code
const size_t kBuildStampSize = 21;      // "Jul 31 2024_13:49:53" and its terminator

constexpr gain_table_st gainTable() {
    gain_table_st st{};
    for (int i = 0; i < 16; ++i)
        st.gain[i] = 100u << i;
    return st;
}

}  // namespace

constexpr gain_table_st g_stGainTable = gainTable();

extern "C" {

int sensorInitValues(void) {
    g_stSensorParam.frame_rate = kStartupFrameRate;
    g_stSensorParam.timing = g_stProfile.stTiming;
    g_stSensorParam.block100 = g_stProfile.stBlock100;
    g_stSensorParam.block116 = g_stProfile.stBlock116;
    return 0;
}

int sensorNoop(void) {
    return 0;
}

int sensorIdentity(char* p_szChip, char* p_szSensor, char* p_szVersion, char* p_szBuild) {
    strcpy(p_szChip, kChipName);
    strcpy(p_szSensor, g_stProfile.szSensor);
    strcpy(p_szVersion, g_stProfile.szVersion);
    snprintf(p_szBuild, kBuildStampSize, "%s_%s", __DATE__, __TIME__);
    return 0;
}

int sensorMatch(const char* p_szChip, const char* p_szVersion) {
    return strcmp(p_szChip, kChipName) == 0 && strcmp(p_szVersion, kMatchVersion) == 0 ? 0 : -1;
}

int sensorSetFrameRate(uint32_t p_nFirst, uint32_t p_nSecond, uint32_t p_nRate, uint32_t p_nMode) {
    gst_ae_params.mode = p_nMode;
    gst_po_params[0].mode = p_nMode;
    sensor_param_st& st = g_stSensorParam;
    st.first = p_nFirst;
    st.second = p_nSecond;
    st.frame_rate = p_nRate;
    st.mode = p_nMode;
    // One second over the rate, to the nearest microsecond.
    uint32_t nPeriod = p_nRate == 0 ? 0 : (1000000 + p_nRate / 2) / p_nRate;
    if (g_stProfile.bPeriodAt80) st.timing.frame_period = nPeriod;
    bool bMode1 = p_nMode == 1;
    st.timing.word72 = bMode1 ? 1792 : timingWord72(st.timing.word84);
    st.timing.word76 = bMode1 ? nPeriod : 1000000;
    if (g_stProfile.bAeItem29) {
        uint32_t anAe[3] = {0, 512, 1};
        vendor_isp_set_ae(AET_ITEM_29, anAe);  // its status changes nothing here
    }
    return 0;
}

}  // extern "C"
