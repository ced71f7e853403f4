// The design the three sensor plug-ins share. Each plug-in defines its profile, its sensor
// parameter record and its image pipe record, builds its descriptor with makeSensorDesc and
// maps channels to pipes in its own isp_pipe_get; the callbacks and isp_set_hdr are common.
#pragma once

#include "SensorRecords.h"

// Plug-ins are built with hidden visibility; only the names the framework looks up are exported.
#define SENSOR_EXPORT __attribute__((visibility("default")))

// The values in which the plug-ins differ from one another.
struct sensor_profile_st {
    const char* szSensor;
    const char* szVersion;
    bool bPeriodAt80;           // the frame-rate callback also stores the period at offset 80
    bool bAeItem29;             // ... and sends AE item 29 to the vendor library
    sensor_timing_st stTiming;  // start-up values
    sensor_block100_st stBlock100;
    sensor_block116_st stBlock116;
};

// Defined by each plug-in.
extern const sensor_profile_st g_stProfile;
extern sensor_param_st g_stSensorParam;

extern const gain_table_st g_stGainTable;

extern "C" {
int sensorInitValues(void);
int sensorNoop(void);
int sensorIdentity(char* p_szChip, char* p_szSensor, char* p_szVersion, char* p_szBuild);
int sensorMatch(const char* p_szChip, const char* p_szVersion);
int sensorSetFrameRate(uint32_t p_nFirst, uint32_t p_nSecond, uint32_t p_nRate, uint32_t p_nMode);

SENSOR_EXPORT int isp_set_hdr(int p_nPipe, int p_nStrength);
SENSOR_EXPORT int isp_pipe_get(int p_nChannel);                         // defined by each plug-in
SENSOR_EXPORT int isp_defog_set(int p_nChannel, uint32_t p_nStrength);  // where there is one
}

constexpr uint32_t kStartupFrameRate = 25;

// What word 72 holds outside mode 1: twice word 84, in thousandths.
constexpr uint32_t timingWord72(uint32_t p_nWord84) {
    return 2 * p_nWord84 / 1000;
}

// The initial words: common ones and the sensor's words 208 to 255; apertures are added by the
// plug-ins that have an iris.
constexpr sensor_param_st initialSensorParams(const uint32_t (&p_anWord208)[12]) {
    sensor_param_st st{};
    st.word0 = 0x00280000;
    st.word8 = 32;
    st.word12 = 37125000;
    st.word68 = 2;
    for (int i = 0; i < 12; ++i)
        st.word208[i] = p_anWord208[i];
    return st;
}

// The start-up words in which the sensors differ; word 72 follows from word 84.
struct sensor_own_startup_st {
    uint32_t word84_88[2];
    uint32_t word116_124[3];
    float coef136_152[5];
    uint32_t word176_188[2];
};

// A sensor's profile: its own start-up words among those common to every plug-in.
constexpr sensor_profile_st makeProfile(const char* p_szSensor, const char* p_szVersion,
                                        const sensor_own_startup_st& p_stOwn) {
    const uint32_t* w84 = p_stOwn.word84_88;
    const uint32_t* w116 = p_stOwn.word116_124;
    const float* f136 = p_stOwn.coef136_152;
    const uint32_t* w176 = p_stOwn.word176_188;
    sensor_profile_st st{};
    st.szSensor = p_szSensor;
    st.szVersion = p_szVersion;
    st.stTiming = {
        timingWord72(w84[0]), 1000000, 1000000 / kStartupFrameRate, w84[0], w84[1], 204800};
    st.stBlock100 = {{0x002C0800, 1024, 16384}};
    st.stBlock116 = {w116[0], w116[1], w116[2], 1200,                           // 116 to 128
                     1.0f,    f136[0], f136[1], f136[2], f136[3], f136[4],      // 132 to 152
                     1000,    100000,  100,     8000,    95,      w176[0], 25,  // 156 to 180
                     175,     w176[1], 27600,   8000,    600,     51200};       // 184 to 204
    return st;
}

constexpr sensor_desc_st makeSensorDesc(ipipe_st* p_pIpipe) {
    return {0,           &g_stSensorParam,   sensorInitValues, sensorNoop,     sensorIdentity,
            sensorMatch, sensorSetFrameRate, sensorNoop,       &g_stGainTable, p_pIpipe};
}

constexpr ipipe_st makeIpipe(ipipe_defog_set_fn p_pfnDefog) {
    ipipe_st st{};
    st.set_hdr = isp_set_hdr;
    st.pipe_get = isp_pipe_get;
    st.defog_set = p_pfnDefog;
    return st;
}
