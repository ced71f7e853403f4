// Queries of the ISP's dynamic commands and ranges, shared by the style, range and correction
// code. Internal to the library.
#pragma once

#include "ia_ioctrl.h"

namespace luxtune {

// Asks the ISP of channel index p_nChannel for its dynamic commands into a cleared list. The
// count is held to the list's room (0 to 16) whatever the ISP claims. The ISP's status.
int queryDynamicCmds(int p_nChannel, dnaCmdList& p_stList);
// Holds a range answer's item count to the record's room (0 to 64).
void clampItems(ia_dynamic_params_attr_st& p_stParam);

}  // namespace luxtune
