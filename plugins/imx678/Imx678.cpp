// Sensor plug-in of the imx678 sensor: its values, records and pipe mapping.
#include "SensorPlugin.h"

namespace {

constexpr sensor_own_startup_st kOwnStartup = {
    {5000, 51200},                                       // words 84, 88
    {10000, 1200, 9500},                                 // words 116 to 124
    {1.051794f, 1.03445f, 1.979e10f, -3.054f, -342.2f},  // floats 136 to 152
    {8000, 3000}};                                       // words 176, 188

}  // namespace

constexpr sensor_profile_st g_stProfile = makeProfile("imx678", "c00000", kOwnStartup);
sensor_param_st g_stSensorParam = initialSensorParams(
    {0, 1283, 0, 500, 1100, 2000, 2496, 0x002D645A, 0x2D000000, 0x00006464, 0, 0});

extern "C" {
SENSOR_EXPORT int isp_pipe_get(int p_nChannel) {
    return p_nChannel;
}

SENSOR_EXPORT ipipe_st gst_imx678_ipipe = makeIpipe(nullptr);
SENSOR_EXPORT sensor_desc_st gst_sensor = makeSensorDesc(&gst_imx678_ipipe);
}
