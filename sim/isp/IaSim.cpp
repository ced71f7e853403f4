// Simulated ISP control library: a per-channel model of the ISP behind ia_ioctrl_v2.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "IaSim.h"

namespace {

struct Model {
    std::mutex mutex;
    bool bProfileLooked = false;
    std::vector<iasim::Call> vecCalls;
    std::map<std::pair<int, int>, int> mapStatus;               // (cmd, option) -> status
    std::map<std::pair<int, int>, std::vector<u32>> mapValues;  // (channel, cmd) -> words
    std::map<int, u32> mapProfileValues;
    std::map<int, int> mapExecStatus;
    std::vector<int> vecDynamicOrder;
    std::map<int, iasim::Range> mapDynamic;
    std::string strVersion = "LUXSIM-ISP-1.0";
    int nClaimedCmdCnt = -1;
    int nClaimedItemsCnt = -1;
};

Model& model() {
    static Model* s_pModel = new Model;  // never destroyed: calls may come during exit
    return *s_pModel;
}

std::string devicePath(const std::string& p_strPath) {
    const char* szRoot = getenv("LUXTUNE_ROOT");
    return (szRoot && *szRoot) ? std::string(szRoot) + p_strPath : p_strPath;
}

bool fileExists(const std::string& p_strPath) {
    struct stat st;
    return stat(p_strPath.c_str(), &st) == 0;
}

std::vector<int> parseList(const std::string& p_strText) {
    std::vector<int> vec;
    std::stringstream in(p_strText);
    std::string strItem;
    while (std::getline(in, strItem, ',')) {
        if (!strItem.empty()) vec.push_back(atoi(strItem.c_str()));
    }
    return vec;
}

void addDynamic(Model& m, int p_nCmd, const iasim::Range& p_objRange) {
    if (!m.mapDynamic.count(p_nCmd)) m.vecDynamicOrder.push_back(p_nCmd);
    m.mapDynamic[p_nCmd] = p_objRange;
}

bool loadProfileLocked(Model& m, const std::string& p_strPath) {
    std::ifstream in(p_strPath);
    if (!in) return false;
    std::string strLine;
    while (std::getline(in, strLine)) {
        size_t nHash = strLine.find('#');
        if (nHash != std::string::npos) strLine.erase(nHash);
        std::istringstream words(strLine);
        std::string strKind;
        int nCmd = 0;
        if (!(words >> strKind)) continue;
        if (strKind == "version") {
            std::getline(words >> std::ws, m.strVersion);
            continue;
        }
        if (!(words >> nCmd)) continue;
        if (strKind == "value") {
            long nValue = 0;
            words >> nValue;
            m.mapProfileValues[nCmd] = static_cast<u32>(nValue);
        } else if (strKind == "dynamic") {
            iasim::Range objRange;
            std::string strField;
            while (words >> strField) {
                size_t nEq = strField.find('=');
                if (nEq == std::string::npos) continue;
                std::string strName = strField.substr(0, nEq), strValue = strField.substr(nEq + 1);
                if (strName == "default") objRange.default_val = atoi(strValue.c_str());
                if (strName == "type") objRange.param_type = atoi(strValue.c_str());
                if (strName == "min") objRange.min_val = atoi(strValue.c_str());
                if (strName == "max") objRange.max_val = atoi(strValue.c_str());
                if (strName == "items") objRange.items = parseList(strValue);
            }
            addDynamic(m, nCmd, objRange);
        }
    }
    return true;
}

void lookForProfile(Model& m) {
    if (m.bProfileLooked) return;
    m.bProfileLooked = true;
    const char* szProfile = getenv("LUXTUNE_ISP_PROFILE");
    if (szProfile && *szProfile) {
        loadProfileLocked(m, szProfile);
        return;
    }
    const char* szRoot = getenv("LUXTUNE_ROOT");
    std::string strPath = devicePath("/mnt/mtd/isp/isp_profile.conf");
    if (szRoot && *szRoot && fileExists(strPath)) loadProfileLocked(m, strPath);
}

// Number of 32-bit words of the record a command carries on a set, or 1 for a plain value.
int setRecordWords(int p_nCmd) {
    switch (p_nCmd) {
        case 145:
        case 146:
        case 154:
            return 3;  // dn_thr_st
        case 149:
        case 150:
        case 151:
        case 152:
            return 4;  // dn_time_st
        case IA_CMD_SENSOR_CHECK:
            return 4;
        case IA_CMD_IR_LED_INFO:
            return 0;  // the host's own record, opaque here
        default:
            return 1;
    }
}

u32 readValue(Model& m, int p_nChannel, int p_nCmd) {
    auto it = m.mapValues.find({p_nChannel, p_nCmd});
    if (it != m.mapValues.end() && !it->second.empty()) return it->second[0];
    auto itProfile = m.mapProfileValues.find(p_nCmd);
    if (itProfile != m.mapProfileValues.end()) return itProfile->second;
    auto itDyn = m.mapDynamic.find(p_nCmd);
    return itDyn != m.mapDynamic.end() ? static_cast<u32>(itDyn->second.default_val) : 0;
}

u32 correctValue(const Model& m, int p_nCmd, u32 p_nValue) {
    auto it = m.mapDynamic.find(p_nCmd);
    if (it == m.mapDynamic.end()) return p_nValue;
    const iasim::Range& r = it->second;
    int nValue = static_cast<int>(p_nValue);
    if (r.param_type == 0 && !r.items.empty()) {
        for (int nItem : r.items) {
            if (nItem == nValue) return p_nValue;
        }
        return static_cast<u32>(r.default_val);
    }
    if (r.min_val < r.max_val) {
        if (nValue < r.min_val) nValue = r.min_val;
        if (nValue > r.max_val) nValue = r.max_val;
    }
    return static_cast<u32>(nValue);
}

int injectedStatus(const Model& m, int p_nCmd, int p_nOption) {
    const std::pair<int, int> keys[] = {
        {p_nCmd, p_nOption}, {p_nCmd, -1}, {-1, p_nOption}, {-1, -1}};
    for (const auto& key : keys) {
        auto it = m.mapStatus.find(key);
        if (it != m.mapStatus.end()) return it->second;
    }
    return 0;
}

void fillCmdList(const Model& m, dnaCmdList* p_pList) {
    memset(p_pList, 0, sizeof *p_pList);
    for (int nCmd : m.vecDynamicOrder) {
        if (p_pList->cmd_cnt >= IA_DNA_CMD_MAX) break;
        p_pList->cmd_list[p_pList->cmd_cnt++] = nCmd;
    }
    if (m.nClaimedCmdCnt >= 0) p_pList->cmd_cnt = m.nClaimedCmdCnt;
}

void fillRange(const Model& m, int p_nCmd, ia_dynamic_params_attr_st* p_pAttr) {
    auto it = m.mapDynamic.find(p_nCmd);
    if (it == m.mapDynamic.end()) return;
    const iasim::Range& r = it->second;
    p_pAttr->param_type = r.param_type;
    p_pAttr->default_val = r.default_val;
    p_pAttr->min_val = r.min_val;
    p_pAttr->max_val = r.max_val;
    p_pAttr->items_cnt = 0;
    for (int nItem : r.items) {
        if (p_pAttr->items_cnt >= IA_DNA_ITEM_MAX) break;
        p_pAttr->item[p_pAttr->items_cnt++] = nItem;
    }
    if (m.nClaimedItemsCnt >= 0) p_pAttr->items_cnt = m.nClaimedItemsCnt;
}

// What a set hands over, logged whether or not the ISP then accepts it.
void recordSet(iasim::Call& call, const void* p_pData) {
    int nWords = setRecordWords(call.cmd);
    if (nWords == 0 || !p_pData) return;
    const u32* pWords = static_cast<const u32*>(p_pData);
    call.words.assign(pWords, pWords + nWords);
    call.value = pWords[0];
}

void doSet(Model& m, iasim::Call& call) {
    if (!call.words.empty()) m.mapValues[{call.channel, call.cmd}] = call.words;
}

void doGet(Model& m, iasim::Call& call, void* p_pData) {
    if (call.cmd == IA_CMD_DYNAMIC_PARAMS_CMDS_GET) {
        fillCmdList(m, static_cast<dnaCmdList*>(p_pData));
        call.value = static_cast<u32>(static_cast<dnaCmdList*>(p_pData)->cmd_cnt);
    } else if (call.cmd == IA_CMD_CAMERA_VERSION) {
        snprintf(static_cast<char*>(p_pData), 50, "%s", m.strVersion.c_str());
    } else if (call.cmd == IA_CMD_SENSOR_CHECK) {
        ia_sensor_check_st* pCheck = static_cast<ia_sensor_check_st*>(p_pData);
        pCheck->result = static_cast<s32>(readValue(m, call.channel, call.cmd));
        call.words.assign(reinterpret_cast<u32*>(pCheck), reinterpret_cast<u32*>(pCheck) + 4);
        call.value = static_cast<u32>(pCheck->result);
    } else {
        call.value = readValue(m, call.channel, call.cmd);
        memcpy(p_pData, &call.value, sizeof call.value);
    }
}

int serve(Model& m, iasim::Call& call, void* p_pData) {
    switch (call.option) {
        case IA_CMD_OPT_SET:
            doSet(m, call);
            return 0;
        case IA_CMD_OPT_GET:
            doGet(m, call, p_pData);
            return 0;
        case IA_CMD_OPT_GET_PARAM_RNAGE:
            fillRange(m, call.cmd, static_cast<ia_dynamic_params_attr_st*>(p_pData));
            return 0;
        case IA_CMD_OPT_CORRECT_PARAM: {
            u32* pValue = static_cast<u32*>(p_pData);
            *pValue = correctValue(m, call.cmd, *pValue);
            call.value = *pValue;
            return 0;
        }
        case IA_CMD_OPT_GET_EXEC_STATUS: {
            auto it = m.mapExecStatus.find(call.cmd);
            call.value = it == m.mapExecStatus.end() ? 0 : static_cast<u32>(it->second);
            memcpy(p_pData, &call.value, sizeof call.value);
            return 0;
        }
        default:
            return -1;
    }
}

}  // namespace

extern "C" int ia_ioctrl_v2(int channel, ia_cmd_e cmd, int option, void* data) {
    Model& m = model();
    std::lock_guard<std::mutex> lock(m.mutex);
    lookForProfile(m);
    iasim::Call call{channel, static_cast<int>(cmd), option, 0, {}};
    if (option == IA_CMD_OPT_SET) recordSet(call, data);
    int nStatus = injectedStatus(m, call.cmd, option);
    if (nStatus == 0) nStatus = data ? serve(m, call, data) : -1;
    m.vecCalls.push_back(call);
    return nStatus;
}

namespace iasim {

void reset() {
    Model& m = model();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.bProfileLooked = false;
    m.vecCalls.clear();
    m.mapStatus.clear();
    m.mapValues.clear();
    m.mapProfileValues.clear();
    m.mapExecStatus.clear();
    m.vecDynamicOrder.clear();
    m.mapDynamic.clear();
    m.strVersion = "LUXSIM-ISP-1.0";
    m.nClaimedCmdCnt = -1;
    m.nClaimedItemsCnt = -1;
}

std::vector<Call> calls() {
    std::lock_guard<std::mutex> lock(model().mutex);
    return model().vecCalls;
}

void clearCalls() {
    std::lock_guard<std::mutex> lock(model().mutex);
    model().vecCalls.clear();
}

void setStatus(int p_nCmd, int p_nOption, int p_nStatus) {
    std::lock_guard<std::mutex> lock(model().mutex);
    if (p_nStatus == 0) {
        model().mapStatus.erase({p_nCmd, p_nOption});
    } else {
        model().mapStatus[{p_nCmd, p_nOption}] = p_nStatus;
    }
}

void setValue(int p_nChannel, int p_nCmd, u32 p_nValue) {
    std::lock_guard<std::mutex> lock(model().mutex);
    model().mapValues[{p_nChannel, p_nCmd}] = {p_nValue};
}

bool getValue(int p_nChannel, int p_nCmd, u32& p_nValue) {
    std::lock_guard<std::mutex> lock(model().mutex);
    auto it = model().mapValues.find({p_nChannel, p_nCmd});
    if (it == model().mapValues.end() || it->second.empty()) return false;
    p_nValue = it->second[0];
    return true;
}

void setDnState(int p_nChannel, int p_nState) {
    setValue(p_nChannel, IA_CMD_DN_STATE, static_cast<u32>(p_nState));
}

void setExecStatus(int p_nCmd, int p_nStatus) {
    std::lock_guard<std::mutex> lock(model().mutex);
    model().mapExecStatus[p_nCmd] = p_nStatus;
}

void setVersionText(const std::string& p_strText) {
    std::lock_guard<std::mutex> lock(model().mutex);
    model().strVersion = p_strText;
}

void setDynamic(int p_nCmd, const Range& p_objRange) {
    std::lock_guard<std::mutex> lock(model().mutex);
    model().bProfileLooked = true;
    addDynamic(model(), p_nCmd, p_objRange);
}

void setClaimedCounts(int p_nCmdCnt, int p_nItemsCnt) {
    std::lock_guard<std::mutex> lock(model().mutex);
    model().nClaimedCmdCnt = p_nCmdCnt;
    model().nClaimedItemsCnt = p_nItemsCnt;
}

void clearDynamic() {
    std::lock_guard<std::mutex> lock(model().mutex);
    model().bProfileLooked = true;
    model().vecDynamicOrder.clear();
    model().mapDynamic.clear();
}

bool loadProfile(const std::string& p_strPath) {
    std::lock_guard<std::mutex> lock(model().mutex);
    model().bProfileLooked = true;
    return loadProfileLocked(model(), p_strPath);
}

}  // namespace iasim
