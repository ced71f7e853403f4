// Reports of libluxtune: coloured lines on standard output at the level set by the switch file,
// and entries in the error log for assertions and warnings. Internal to the library.
//
// Each source file defines kSrcUnit, the unit name shown in location lines ("ISensorController"
// for every controller member, whichever file it lives in).
#pragma once

#define SNS_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))

namespace luxtune {
namespace report {

struct Where {
    const char* file;  // source unit
    const char* func;  // short function name
    int line;
    const char* pretty;  // full signature, named when the process is ended
};

// Assertion: shown at level 0 and above, logged, ends the process when g_bEnAssert is set.
void assertFailed(const Where& p_where, const char* p_szExpr);
void assertFailed(const Where& p_where, const char* p_szExpr, const char* p_szFmt, ...)
    SNS_PRINTF(3, 4);
// Warning: shown and logged above level 3.
void warn(const Where& p_where, const char* p_szFmt, ...) SNS_PRINTF(2, 3);
// A warning-form report tagged and gated as an assertion, that never ends the process.
void assertNote(const Where& p_where, const char* p_szFmt, ...) SNS_PRINTF(2, 3);
// Debug (above 5), its white variant for file opens, error trace (above 5), info (above 6).
void debug(const Where& p_where, const char* p_szFmt, ...) SNS_PRINTF(2, 3);
void debugFile(const Where& p_where, const char* p_szFmt, ...) SNS_PRINTF(2, 3);
void error(const Where& p_where, const char* p_szFmt, ...) SNS_PRINTF(2, 3);
void info(const Where& p_where, const char* p_szFmt, ...) SNS_PRINTF(2, 3);
// Plain trace above level 5: colour pair (0, p_nColour), the message, no location line.
void trace(int p_nColour, const char* p_szFmt, ...) SNS_PRINTF(2, 3);

// Re-reads the switch file and tells whether the level is above p_nLevel; lets a caller skip
// building the arguments of a trace that would not be shown.
bool above(int p_nLevel);

}  // namespace report
}  // namespace luxtune

#define SNS_HERE (::luxtune::report::Where{kSrcUnit, __func__, __LINE__, __PRETTY_FUNCTION__})
