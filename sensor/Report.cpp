// Reports: see internal/Report.h.
#include "internal/Report.h"

#include <cstdarg>
#include <cstdio>

#include "ZqFramework.h"
#include "sensor.h"

// The C library's assertion failure (declared by <assert.h> only in builds without NDEBUG):
// prints "Assertion `<expr>' failed." with file, line and function, then aborts.
extern "C" void __assert_fail(const char* p_szExpr, const char* p_szFile, unsigned int p_nLine,
                              const char* p_szFunction) noexcept __attribute__((noreturn));

namespace luxtune {
namespace report {
namespace {

constexpr const char* kErrorLog = "/mnt/mtd/log/SensorError.log";
constexpr int kLogMaxSize = 10240;
constexpr int kLogMaxFiles = 3;
constexpr size_t kLogTextMax = 500;
constexpr const char* kTagAssert = "[sensor assert]";
constexpr const char* kTagWarn = "[sensor warn]";

void colourOn(int p_nFirst, int p_nSecond) {
    printf("\033[%dm\033[%dm", p_nFirst, p_nSecond);
}
void colourOff() {
    printf("\033[0m");
}

void printLocation(const char* p_szTag, const Where& p_where) {
    printf("%s file:%s fun:%s line:%d\n", p_szTag, p_where.file, p_where.func, p_where.line);
}

std::string cut(const char* p_szFmt, va_list p_args) {
    char szBuf[kLogTextMax];
    vsnprintf(szBuf, sizeof szBuf, p_szFmt, p_args);
    return szBuf;
}

std::string cutf(const char* p_szFmt, ...) SNS_PRINTF(1, 2);
std::string cutf(const char* p_szFmt, ...) {
    va_list args;
    va_start(args, p_szFmt);
    std::string str = cut(p_szFmt, args);
    va_end(args);
    return str;
}

void logEntries(const char* p_szTag, const std::string& p_strFirst, const std::string* p_pSecond) {
    ZqLogger objLogger;
    objLogger.init(kErrorLog, kLogMaxSize, kLogMaxFiles);
    objLogger.writeLog(p_szTag, p_strFirst);
    if (p_pSecond) objLogger.writeLog(p_szTag, *p_pSecond);
}

// Shown line with location: colour pair, location, message, colour off; optionally logged
// as the location entry and the message entry.
void located(int p_nColour, const char* p_szTag, bool p_bLog, const Where& p_where,
             const char* p_szFmt, va_list p_args) {
    va_list argsLog;
    va_copy(argsLog, p_args);
    colourOn(0, p_nColour);
    printLocation(p_szTag, p_where);
    vprintf(p_szFmt, p_args);
    colourOff();
    if (p_bLog) {
        std::string strMsg = cut(p_szFmt, argsLog);
        logEntries(p_szTag,
                   cutf("file:%s fun:%s line:%d\n", p_where.file, p_where.func, p_where.line),
                   &strMsg);
    }
    va_end(argsLog);
}

void assertion(const Where& p_where, const char* p_szExpr, const char* p_szFmt, va_list p_args) {
    updateDebugLevel();
    if (g_nDebugLevel.load() >= 0) {
        colourOn(0, 31);
        printLocation(kTagAssert, p_where);
        printf("%s   ~~~Assertion failed.\n", p_szExpr);
        colourOff();
        std::string strExpr = cutf("%s   ~~~Assertion failed.\n", p_szExpr);
        logEntries(kTagAssert,
                   cutf("file:%s fun:%s line:%d\n", p_where.file, p_where.func, p_where.line),
                   &strExpr);
    }
    updateDebugLevel();
    if (g_nDebugLevel.load() >= 0) {
        va_list argsLog;
        if (p_szFmt) va_copy(argsLog, p_args);
        colourOn(0, 31);
        if (p_szFmt) vprintf(p_szFmt, p_args);
        colourOff();
        logEntries(kTagAssert, p_szFmt ? cut(p_szFmt, argsLog) : std::string(), nullptr);
        if (p_szFmt) va_end(argsLog);
    }
    if (g_bEnAssert.load()) {
        fflush(stdout);
        __assert_fail("bRet", p_where.file, static_cast<unsigned>(p_where.line), p_where.pretty);
    }
}

}  // namespace

bool above(int p_nLevel) {
    updateDebugLevel();
    return g_nDebugLevel.load() > p_nLevel;
}

void assertFailed(const Where& p_where, const char* p_szExpr) {
    va_list none{};
    assertion(p_where, p_szExpr, nullptr, none);
}

void assertFailed(const Where& p_where, const char* p_szExpr, const char* p_szFmt, ...) {
    va_list args;
    va_start(args, p_szFmt);
    assertion(p_where, p_szExpr, p_szFmt, args);
    va_end(args);
}

#define SNS_LOCATED(level, colour, tag, log)               \
    do {                                                   \
        if (!above(level)) return;                         \
        va_list args;                                      \
        va_start(args, p_szFmt);                           \
        located(colour, tag, log, p_where, p_szFmt, args); \
        va_end(args);                                      \
    } while (0)

void warn(const Where& p_where, const char* p_szFmt, ...) {
    SNS_LOCATED(3, 0, kTagWarn, true);
}
void assertNote(const Where& p_where, const char* p_szFmt, ...) {
    SNS_LOCATED(-1, 0, kTagAssert, true);
}
void debug(const Where& p_where, const char* p_szFmt, ...) {
    SNS_LOCATED(5, 0, "[sensor dbg]", false);
}
void debugFile(const Where& p_where, const char* p_szFmt, ...) {
    SNS_LOCATED(5, 37, "[sensor dbg]", false);
}
void error(const Where& p_where, const char* p_szFmt, ...) {
    SNS_LOCATED(5, 0, "[sensor err]", false);
}
void info(const Where& p_where, const char* p_szFmt, ...) {
    SNS_LOCATED(6, 35, "[sensor info]", false);
}

void trace(int p_nColour, const char* p_szFmt, ...) {
    if (!above(5)) return;
    va_list args;
    va_start(args, p_szFmt);
    colourOn(0, p_nColour);
    vprintf(p_szFmt, args);
    colourOff();
    va_end(args);
}

}  // namespace report
}  // namespace luxtune
