// The zoom synchronisation file "/mnt/mtd/hd1/program/config/sync_fov.ini": the input is its
// content, read by a controller set up for key work on channel 1 and then on channel 2, and
// once more through the cross-channel request its scheduler serves.
#include <cstdint>
#include <string>

#include "ControllerAccess.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize) {
    fuzz::beginInput(false);
    static ISensorController* s_pCtl = new ISensorController;
    ISensorController& objCtl = *s_pCtl;
    Access::prepare(objCtl, 4, fuzz::sampleScheme(), 0);
    Access::status(objCtl) = SensorStatus::bInitialized;
    Access::hasLens(objCtl) = true;
    fuzz::writeFile("/mnt/mtd/hd1/program/config/sync_fov.ini",
                    std::string(reinterpret_cast<const char*>(p_pData), p_nSize));

    for (int nChannel : {1, 2}) {
        objCtl.setChannelID(nChannel);
        objCtl.sync_fov();
    }
    objCtl.setChannelID(1);
    Access::paramMode(objCtl) = 0;  // the pass serves the request and selects no scheme
    ISensorController::m_nPassKeycmd.store(
        static_cast<s32>(KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV));
    ISensorController::m_nChanneldDosomething.store(1);
    objCtl.sensorThread();
    FUZZ_CHECK(ISensorController::m_nChanneldDosomething.load() == -1);
    return 0;
}
