// Source unit "SensorFile": parameter files, the UI style document and the show-beaway flag.
#pragma once

#include <atomic>

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

// Whether the UI offers the beaway control; one flag for the whole library.
extern LUXTUNE_API std::atomic<bool> g_bShoWBeawayFalg;
LUXTUNE_API void setshowBeawayFalg(bool p_bShow);
LUXTUNE_API bool getshowBeawayFalg();
