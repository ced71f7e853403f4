// Direct controls: named lens, exposure and light operations.
#include "ISensorController.h"
#include "internal/ControllerUnit.h"

bool ISensorController::getDNState(int& p_nState) {
    return doIaCmd(IA_CMD_DN_STATE, IA_CMD_OPT_GET, &p_nState) == SNS_SUCCESS;
}

bool ISensorController::setZoomValue(int p_nValue) {
    if (!m_bHasLens) return true;
    return doIaCmd(KEY_MZ_POSITION, IA_CMD_OPT_SET, &p_nValue) == SNS_SUCCESS;
}
