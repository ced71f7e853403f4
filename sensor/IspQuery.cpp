// ISP queries: see internal/IspQuery.h.
#include "internal/IspQuery.h"

#include <cstring>

namespace luxtune {

int queryDynamicCmds(int p_nChannel, dnaCmdList& p_stList) {
    memset(&p_stList, 0, sizeof p_stList);
    int nRet = ia_ioctrl_v2(p_nChannel, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, &p_stList);
    if (p_stList.cmd_cnt < 0) p_stList.cmd_cnt = 0;
    if (p_stList.cmd_cnt > IA_DNA_CMD_MAX) p_stList.cmd_cnt = IA_DNA_CMD_MAX;
    return nRet;
}

void clampItems(ia_dynamic_params_attr_st& p_stParam) {
    if (p_stParam.items_cnt < 0) p_stParam.items_cnt = 0;
    if (p_stParam.items_cnt > IA_DNA_ITEM_MAX) p_stParam.items_cnt = IA_DNA_ITEM_MAX;
}

}  // namespace luxtune
