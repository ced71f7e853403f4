// Source unit "SensorFile": parameter files, the UI style document and the show-beaway flag.
#pragma once

#include <atomic>
#include <string>

#include "SensorDef.h"

// Scheme parameter files are bare arrays of KeyVal records (8 bytes each, little-endian); the
// version file holds one 32-bit word. Every function goes through the device framework's files.

// The file's length, or what the framework reports for a file it cannot open.
LUXTUNE_API INT64 getFileLen(const char* file_name);
// Reads file_len bytes into data; file_len when all were read, else -1.
LUXTUNE_API int loadFromFile(const char* file_name, char* data, INT64 file_len);
// Writes file_len bytes; the count written. The old file is replaced only by a complete new one.
LUXTUNE_API int saveToFile(char* file_name, char* data, INT64 file_len);
// Reads p_nKeyValNum records (fewer when the file is short; the rest keep their contents).
LUXTUNE_API int keyValFromFile(char* file_name, KeyVal* p_pKeyVal, u32 p_nKeyValNum);
// Writes p_nKeyValSum records, replacing the old file only by a complete new one.
LUXTUNE_API int keyValToFile(char* file_name, KeyVal* p_pKeyVal, u32 p_nKeyValSum);
// The parameter-layout version of the stored scheme files: 0 when read/written, -1 otherwise.
LUXTUNE_API int getVersion(u32* p_pnVersion);
LUXTUNE_API int setVersion(u32 p_nVersion);

// ---- UI style document

class TiXmlDocument;
class TiXmlElement;
struct ModuleConfig;
struct ia_dynamic_params_attr_st;

// Detail-text fields "(name=value)": 0 and the value (at most 9 characters), or -1 when absent.
LUXTUNE_API int getDetailFieldTou32(const char* p_szDetail, const char* p_szName, u32* p_pnValue);
LUXTUNE_API int getDetailFieldToStr(const char* p_szDetail, const char* p_szName, char* p_szValue);

// Applies the diversity document's selected operations to the style, writes the result to
// "/tmp/merge_style_ch<channel>.xml" and replaces *ui_style with it. Always 0.
LUXTUNE_API int mergeStyle(int p_nChannelID, ModuleConfig* p_pModuleConfig, char** ui_style,
                           char* ui_styleDiversity);
// One diversity operation ("Modify", "AddAfter", "Delete") on the tab with the given key.
LUXTUNE_API int updateStyleTab(TiXmlDocument* doc_style, const char* p_szOperation,
                               const char* p_szTabKey, const TiXmlElement* p_pNewTab);

// The merged style adapted to what the ISP reports, less the features switched off.
LUXTUNE_API int getDnaStyle(int p_channelID, const char* szStyle, std::string& p_strDnaStyle,
                            bool p_bShowWDRFalg, bool p_bShowLDCFlag);
LUXTUNE_API int doDnaStyle(TiXmlElement* p_pStart, int p_nCmd,
                           const ia_dynamic_params_attr_st* p_pParam);
LUXTUNE_API int doCustomizeStyle(TiXmlElement* p_pStart, int p_nCmd,
                                 ia_dynamic_params_attr_st* p_pParam);
LUXTUNE_API int getDnaValbyCmdId(TiXmlElement* p_pStart, int p_nId, int& p_nValue);
LUXTUNE_API int getNodebyCmdId(TiXmlElement* p_pStart, int p_nId, TiXmlElement*& p_pNode);
LUXTUNE_API int DeleteNode(TiXmlElement* p_pRoot, TiXmlElement* p_pNode);
LUXTUNE_API int ModifyNodebyCmdId(TiXmlElement* p_pStart, int p_nId);

// The factory values: one record per element of the dynamic style with both "id" and "value",
// in document order. The forms with p_nRoom store at most that many records; the others trust
// the caller's array to hold every one.
LUXTUNE_API int getFctData(int p_channelID, char* p_szStyle, KeyVal* p_pKeyVal, u32* p_pnKeyValNum,
                           bool p_bShowWDRFalg, bool p_bShowLDCFlag);
LUXTUNE_API int getFctData(int p_channelID, char* p_szStyle, KeyVal* p_pKeyVal, u32* p_pnKeyValNum,
                           bool p_bShowWDRFalg, bool p_bShowLDCFlag, u32 p_nRoom);
LUXTUNE_API int style2KeyVal(TiXmlElement* p_pStart, KeyVal* p_pKeyVal, u32* p_pnKeyValNum);
LUXTUNE_API int style2KeyVal(TiXmlElement* p_pStart, KeyVal* p_pKeyVal, u32* p_pnKeyValNum,
                             u32 p_nRoom);

// Whether the UI offers the beaway control; one flag for the whole library.
extern LUXTUNE_API std::atomic<bool> g_bShoWBeawayFalg;
LUXTUNE_API void setshowBeawayFalg(bool p_bShow);
LUXTUNE_API bool getshowBeawayFalg();
