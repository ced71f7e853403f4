// Source unit "SensorKeyVal": the host's pair text of key/value records, and the value
// correction by the ISP.
#pragma once

#include <string>

#include "SensorDef.h"

// Decodes a pair text "(key,value)(key,value)..." into records; text outside the brackets is
// skipped and a number that cannot be read keeps the previous group's value. The destination
// must hold one record per group.
LUXTUNE_API void keyval_str2st(const std::string& p_strParameters, KeyVal* p_pKeyVal,
                               unsigned int* p_pnCount);
// The same with room for p_nRoom records: false, and a count of 0, when the text holds more
// groups than that (the destination may then hold some of them).
LUXTUNE_API bool keyval_str2st(const std::string& p_strParameters, KeyVal* p_pKeyVal,
                               unsigned int* p_pnCount, unsigned int p_nRoom);
// Appends "(key,value)" for each record, both printed as signed numbers.
LUXTUNE_API void keyval_st2str(std::string& p_strParameters, KeyVal* p_pKeyVal,
                               unsigned int p_nCount);
// Lets the ISP correct the value of every record whose key it lists as a dynamic command.
// 0, or -1 when p_pKeyval is null.
LUXTUNE_API int keyval_correct(int p_nChannel_id, KeyVal* p_pKeyval, u32 p_nCount);
