// Sensor plug-in of the imx675 sensor as the slave of a pair: its values, records and pipe
// mapping. Channel 1 runs on pipe 2, every other channel on pipe 0.
#include "SensorPlugin.h"

namespace {

constexpr sensor_own_startup_st kOwnStartup = {
    {5000, 102400},                                    // words 84, 88
    {22752, 500, 80000},                               // words 116 to 124
    {1.05509f, 1.039641f, 1.141e9f, -2.523f, 24.62f},  // floats 136 to 152
    {8000, 3000}};                                     // words 176, 188

}  // namespace

constexpr sensor_profile_st g_stProfile = makeProfile("imx675_slave", "c00b01", kOwnStartup);
sensor_param_st g_stSensorParam = initialSensorParams(
    {2, 1283, 0, 500, 1100, 2000, 2496, 0x002D645A, 0x2D000000, 0x00006464, 0, 0});

extern "C" {
SENSOR_EXPORT int isp_pipe_get(int p_nChannel) {
    return p_nChannel == 1 ? 2 : 0;
}

SENSOR_EXPORT ipipe_st gst_imx675_slave_ipipe = makeIpipe(nullptr);
SENSOR_EXPORT sensor_desc_st gst_sensor = makeSensorDesc(&gst_imx675_slave_ipipe);
}
