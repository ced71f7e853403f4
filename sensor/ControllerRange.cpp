// The permitted values of the few settings whose range the ISP decides at run time.
#include <cstdio>
#include <cstring>
#include <string>

#include "ISensorController.h"
#include "internal/ControllerUnit.h"
#include "internal/IspQuery.h"

using luxtune::report::assertFailed;

namespace {

bool isRangeCommand(int p_nCmd) {
    return p_nCmd == KEY_MAX_SHUTTER || p_nCmd == KEY_FIX_SHUTTER || p_nCmd == KEY_MIN_SHUTTER ||
           p_nCmd == KEY_MIN_SHUTTER_NIGHT || p_nCmd == KEY_MAX_SHUTTER_NIGHT ||
           p_nCmd == KEY_IRIS_POSITION || p_nCmd == KEY_AUTO_FOCUS_NEAR_LIMIT;
}

}  // namespace

bool ISensorController::getSensorParamRange(int p_nCmd, int& p_nDefault, std::string& p_strRange) {
    dnaCmdList stList;
    ia_dynamic_params_attr_st stDynamicParam;
    memset(&stDynamicParam, 0, sizeof stDynamicParam);
    if (luxtune::queryDynamicCmds(m_nCameraID - 1, stList) != SNS_SUCCESS) {
        assertFailed(SNS_HERE,
                     "SNS_SUCCESS == ia_ioctrl_v2(m_nCameraID-1, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, "
                     "IA_CMD_OPT_GET, "
                     "(void*)(&dnaCmdList))");
    }
    bool bListed = false;
    for (int i = 0; i < stList.cmd_cnt && !bListed; ++i)
        bListed = stList.cmd_list[i] == p_nCmd;
    if (!bListed || !isRangeCommand(p_nCmd)) return false;
    if (doIaCmd(static_cast<u32>(p_nCmd), IA_CMD_OPT_GET_PARAM_RNAGE, &stDynamicParam) !=
        SNS_SUCCESS) {
        assertFailed(
            SNS_HERE,
            "SNS_SUCCESS == doIaCmd(p_nCmd, IA_CMD_OPT_GET_PARAM_RNAGE, (void*)(&stDynamicParam))");
    }
    if (stDynamicParam.param_type != 0) return true;  // not a list of permitted values
    p_nDefault = stDynamicParam.default_val;
    luxtune::clampItems(stDynamicParam);
    int nItems = stDynamicParam.items_cnt;
    for (int i = 0; i < nItems; ++i) {
        char szItem[16];
        snprintf(szItem, sizeof szItem, "%d", stDynamicParam.item[i]);
        p_strRange += szItem;
        if (i + 1 < nItems) p_strRange += ' ';
    }
    printf("cmd=%d DefaltParam=%d strParamRange=%s\n", p_nCmd, p_nDefault, p_strRange.c_str());
    return true;
}
