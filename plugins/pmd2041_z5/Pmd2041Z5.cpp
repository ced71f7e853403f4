// Sensor plug-in of the pmd2041_z5 zoom module: its values, records and pipe mapping. Unlike the
// bare sensors it keeps the frame period at offset 80, tells the AE of a frame-rate change and
// carries an iris.
#include "Aperture.h"
#include "SensorPlugin.h"

namespace {

constexpr sensor_own_startup_st kOwnStartup = {
    {20000, 51200},                                     // words 84, 88
    {10000, 1200, 10000},                               // words 116 to 124
    {1.0763302f, 1.0742224f, 8.8e6f, -1.563f, -97.5f},  // floats 136 to 152
    {13000, 5000}};                                     // words 176, 188

constexpr sensor_profile_st profile() {
    sensor_profile_st st = makeProfile("pmd2041_z5", "c00b13", kOwnStartup);
    st.bPeriodAt80 = true;
    st.bAeItem29 = true;
    return st;
}

constexpr sensor_param_st initialParams() {
    sensor_param_st st = initialSensorParams({1536, 1283, 2612, 3904, 6720, 10112, 16384,
                                              0x0032644B, 0, 0x19005032, 0x0050504B, 0x00000F0D});
    for (int i = 0; i < 13; ++i)
        st.aperture_code[i] = kApertureCodes[i];
    for (int i = 0; i < 15; ++i)
        st.aperture[i] = kApertureTable[i];
    return st;
}

}  // namespace

constexpr sensor_profile_st g_stProfile = profile();
sensor_param_st g_stSensorParam = initialParams();

extern "C" {
SENSOR_EXPORT int isp_pipe_get(int p_nChannel) {
    return p_nChannel;
}

SENSOR_EXPORT ipipe_st gst_pmd2041_z5_ipipe = makeIpipe(isp_defog_set);
SENSOR_EXPORT sensor_desc_st gst_sensor = makeSensorDesc(&gst_pmd2041_z5_ipipe);
}
