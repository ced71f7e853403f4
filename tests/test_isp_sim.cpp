// The simulated ISP control library: values per channel, records, profile, correction, injected
// statuses and the call log that the other tests read.
#include <gtest/gtest.h>

#include "IaSim.h"
#include "TestRoot.h"

namespace {

using IspSimTest = LuxtuneTest;

TEST_F(IspSimTest, SetThenGetPerChannelAndRecordsAreLoggedWhole) {
    u32 nValue = 70;
    EXPECT_EQ(0, ia_ioctrl_v2(1, static_cast<ia_cmd_e>(34), IA_CMD_OPT_SET, &nValue));
    u32 nRead = 0;
    EXPECT_EQ(0, ia_ioctrl_v2(1, static_cast<ia_cmd_e>(34), IA_CMD_OPT_GET, &nRead));
    EXPECT_EQ(70u, nRead);
    EXPECT_EQ(0, ia_ioctrl_v2(0, static_cast<ia_cmd_e>(34), IA_CMD_OPT_GET, &nRead));
    EXPECT_EQ(0u, nRead) << "channel 0 has its own value";
    dn_time_st stTime = {18, 30, 6, 0};
    EXPECT_EQ(0, ia_ioctrl_v2(0, static_cast<ia_cmd_e>(149), IA_CMD_OPT_SET, &stTime));
    std::vector<iasim::Call> calls = iasim::calls();
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ((std::vector<u32>{18, 30, 6, 0}), calls[3].words);
    EXPECT_EQ(1, calls[0].channel);
}

TEST_F(IspSimTest, ProfileGivesDynamicCommandsRangesAndCorrection) {
    root().write("/mnt/mtd/isp/isp_profile.conf",
                 "# sample\n"
                 "dynamic 144 default=2 items=0,1,2   # day/night mode\n"
                 "dynamic 34 default=50 type=1 min=0 max=100\n"
                 "value 153 1\n"
                 "version ISP 7.1\n");
    dnaCmdList stList;
    ASSERT_EQ(0, ia_ioctrl_v2(0, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, &stList));
    ASSERT_EQ(2, stList.cmd_cnt);
    EXPECT_EQ(144, stList.cmd_list[0]);
    ia_dynamic_params_attr_st stAttr{};
    ASSERT_EQ(0, ia_ioctrl_v2(0, static_cast<ia_cmd_e>(144), IA_CMD_OPT_GET_PARAM_RNAGE, &stAttr));
    EXPECT_EQ(2, stAttr.default_val);
    EXPECT_EQ(3, stAttr.items_cnt);
    u32 nValue = 7;
    ia_ioctrl_v2(0, static_cast<ia_cmd_e>(144), IA_CMD_OPT_CORRECT_PARAM, &nValue);
    EXPECT_EQ(2u, nValue) << "a value outside the items becomes the default";
    nValue = 130;
    ia_ioctrl_v2(0, static_cast<ia_cmd_e>(34), IA_CMD_OPT_CORRECT_PARAM, &nValue);
    EXPECT_EQ(100u, nValue) << "a ranged value is clamped";
    ia_ioctrl_v2(0, IA_CMD_DN_STATE, IA_CMD_OPT_GET, &nValue);
    EXPECT_EQ(1u, nValue);
    char szVersion[50] = {};
    ia_ioctrl_v2(0, IA_CMD_CAMERA_VERSION, IA_CMD_OPT_GET, szVersion);
    EXPECT_STREQ("ISP 7.1", szVersion);
}

TEST_F(IspSimTest, InjectedStatusesApplyByCommandAndOption) {
    iasim::setStatus(34, IA_CMD_OPT_SET, -4);
    iasim::setStatus(-1, IA_CMD_OPT_CORRECT_PARAM, -1);
    u32 nValue = 1;
    EXPECT_EQ(-4, ia_ioctrl_v2(0, static_cast<ia_cmd_e>(34), IA_CMD_OPT_SET, &nValue));
    EXPECT_EQ(0, ia_ioctrl_v2(0, static_cast<ia_cmd_e>(34), IA_CMD_OPT_GET, &nValue));
    EXPECT_EQ(-1, ia_ioctrl_v2(0, static_cast<ia_cmd_e>(2337), IA_CMD_OPT_CORRECT_PARAM, &nValue));
    iasim::setStatus(34, IA_CMD_OPT_SET, 0);
    EXPECT_EQ(0, ia_ioctrl_v2(0, static_cast<ia_cmd_e>(34), IA_CMD_OPT_SET, &nValue));
    iasim::setExecStatus(1569, 3);
    ia_ioctrl_v2(0, static_cast<ia_cmd_e>(1569), IA_CMD_OPT_GET_EXEC_STATUS, &nValue);
    EXPECT_EQ(3u, nValue);
}

}  // namespace
