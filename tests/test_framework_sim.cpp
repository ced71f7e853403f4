// The simulated device framework: what libluxtune relies on from it, and the safe pointer's
// failure texts.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "TestRoot.h"
#include "ZqFramework.h"
#include "ZqSim.h"

namespace {

using FrameworkTest = LuxtuneTest;

struct Probe {
    int n = 0;
};

std::string reportText(const char* p_szReason) {
    return std::string("SafePointer Report:") + typeid(Probe).name() + " " + p_szReason;
}

template <typename F>
std::string thrownText(F p_fn) {
    try {
        p_fn();
    } catch (const ZqRuntimeError& e) {
        return e.what();
    }
    return "<nothing thrown>";
}

TEST_F(FrameworkTest, SafePointerReportsEachMisuse) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(reportText("Construct from NULL original pointer"),
              thrownText([] { SafePointer<Probe> sp(nullptr); }));
    EXPECT_EQ(reportText("Construct from NULL <T>pointer"), thrownText([] {
                  SafePointer<Probe> empty;
                  SafePointer<Probe> copy(empty);
              }));
    Probe* pProbe = new Probe;
    SafePointer<Probe> sp(pProbe);
    ZqRefCountManager& mgr = ZqRefCountManager::instance();
    std::shared_ptr<ZqRefCount> pCount = mgr.find(pProbe);
    ASSERT_TRUE(pCount);

    mgr.unregisterObject(pProbe);
    EXPECT_EQ(reportText("Already destructed 1"), thrownText([&] { SafePointer<Probe> c(sp); }));
    mgr.registerObject(pProbe)->nCount = 1;
    std::shared_ptr<ZqRefCount> pNew = mgr.find(pProbe);
    pNew->bClosed = true;
    EXPECT_EQ(reportText("Already destructed 2"), thrownText([&] { SafePointer<Probe> c(sp); }));
    pNew->bClosed = false;
    pNew->nCount = 0;
    EXPECT_EQ(reportText("Already destructed 3"), thrownText([&] { SafePointer<Probe> c(sp); }));
    pNew->nCount = 1;
    pNew->pObject = &pNew;
    EXPECT_EQ("not valid pointer in inc_reference ", thrownText([&] { SafePointer<Probe> c(sp); }));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find(reportText("Already destructed 3") + "\n"));
    EXPECT_EQ(std::string::npos, strOut.find("not valid pointer")) << "no report line for these";

    pCount->pObject = &pCount;  // the count sp holds now belongs to another object
    EXPECT_EQ("not valid pointer in dec_reference", thrownText([&] { sp.reset(); }));
    EXPECT_FALSE(sp);
    mgr.unregisterObject(pProbe);
    delete pProbe;
    EXPECT_STREQ("", ZqRuntimeError(static_cast<const char*>(nullptr)).what());
}

TEST_F(FrameworkTest, SharedCallableDeletesItsObjectWithTheLastHolder) {
    struct Counter {
        int nCalls = 0;
        int tick() { return ++nCalls; }
    } objCounter;
    function<int> fnCopy;
    {
        function<int> fn = bind_funcobj0(&objCounter, &Counter::tick);
        fnCopy = fn;
        EXPECT_EQ(1, fn());
    }
    EXPECT_EQ(2, fnCopy());
    function<int> fnFree(GThread::emptyFun);
    EXPECT_EQ(0, fnFree());
}

TEST_F(FrameworkTest, ThreadRepeatsItsBodyUntilStopReturns) {
    std::atomic<int> nPasses{0};
    struct Body {
        std::atomic<int>* p;
        int run() {
            p->fetch_add(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 0;
        }
    } objBody{&nPasses};
    GThread objThread(bind_funcobj0(&objBody, &Body::run), "Probe",
                      function<int>(GThread::emptyFun), function<int>(GThread::emptyFun));
    EXPECT_TRUE(objThread.stop()) << "stopping a thread that never ran";
    ASSERT_TRUE(objThread.start());
    EXPECT_FALSE(objThread.start());
    while (nPasses.load() < 3)
        std::this_thread::yield();
    EXPECT_TRUE(objThread.stop());
    int nAfterStop = nPasses.load();
    EXPECT_FALSE(objThread.isRunning());
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(nAfterStop, nPasses.load());
    ASSERT_TRUE(objThread.start()) << "a stopped thread starts again";
    EXPECT_TRUE(objThread.stop());
}

TEST_F(FrameworkTest, FileMovesNothingAfterAFailedOpen) {
    ZqFile objFile;
    EXPECT_FALSE(objFile.open("/mnt/mtd/code/config_file/none.cfg", ZqFile::modeRead));
    char buf[4] = {'a', 'b', 'c', 'd'};
    EXPECT_LE(objFile.getLength(), 0);
    EXPECT_LE(objFile.read(buf, 4), 0);
    EXPECT_LE(objFile.write(buf, 4), 0);
    EXPECT_EQ(std::string("abcd"), std::string(buf, 4));
    std::vector<std::string> lines;
    EXPECT_FALSE(objFile.ReadLines(lines));
    EXPECT_EQ("", ZqFile::ReadOneLine(nullptr));
}

TEST_F(FrameworkTest, FilesLiveUnderTheDeviceRoot) {
    ZqFile objFile;
    ASSERT_TRUE(
        objFile.open("/mnt/mtd/code/config_file/a.cfg", ZqFile::modeWrite | ZqFile::modeTruncate));
    EXPECT_EQ(5, objFile.write("hello", 5));
    objFile.close();
    EXPECT_EQ("hello", root().read("/mnt/mtd/code/config_file/a.cfg"));
    EXPECT_EQ(root().host("/x/y"), ZqFile::mapPath("/x/y"));
    EXPECT_TRUE(ZqFile::exists("/mnt/mtd/code/config_file/a.cfg"));

    ASSERT_TRUE(objFile.open("/mnt/mtd/code/config_file/a.cfg", ZqFile::modeRead));
    EXPECT_EQ(5, objFile.getLength());
    char buf[8] = {};
    EXPECT_EQ(5, objFile.read(buf, 8));
    objFile.close();

    root().write("/tmp/lines.txt", "one\r\ntwo\n\nthree");
    ASSERT_TRUE(objFile.open("/tmp/lines.txt", ZqFile::modeRead));
    EXPECT_EQ("one", ZqFile::ReadOneLine(objFile.getFileHandle()));
    std::vector<std::string> lines;
    EXPECT_TRUE(objFile.ReadLines(lines));
    EXPECT_EQ((std::vector<std::string>{"two", "", "three"}), lines);

    unsetenv("LUXTUNE_ROOT");
    EXPECT_EQ("/x/y", ZqFile::mapPath("/x/y"));
    setenv("LUXTUNE_ROOT", root().path().c_str(), 1);
}

TEST_F(FrameworkTest, InjectedShortWriteStoresOnlyThePrefix) {
    zqsim::failNextWrite("sensor1_0.cfg", 3);
    ZqFile objFile;
    ASSERT_TRUE(objFile.open("/mnt/mtd/code/config_file/sensor1_0.cfg",
                             ZqFile::modeWrite | ZqFile::modeTruncate));
    EXPECT_EQ(3, objFile.write("abcdef", 6));
    EXPECT_EQ(3, objFile.write("ghi", 3)) << "the fault fires once";
    objFile.close();
    EXPECT_EQ("abcghi", root().read("/mnt/mtd/code/config_file/sensor1_0.cfg"));
}

TEST_F(FrameworkTest, LoggerWritesTaggedEntriesAndRotates) {
    ZqLogger objLog;
    objLog.init("/mnt/mtd/log/Test.log", 64, 2);
    for (int i = 0; i < 6; ++i)
        objLog.writeLog("[t]", "entry number " + std::to_string(i) + "\n");
    std::vector<std::string> lines = root().lines("/mnt/mtd/log/Test.log");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("[t] entry number 5", lines.back().substr(20));
    EXPECT_TRUE(root().exists("/mnt/mtd/log/Test.log.1"));
    EXPECT_TRUE(root().exists("/mnt/mtd/log/Test.log.2"));
    EXPECT_FALSE(root().exists("/mnt/mtd/log/Test.log.3"));
}

TEST_F(FrameworkTest, ShellCommandsRunUnderTheRootWithATimeOut) {
    root().write("/mnt/mtd/code/config_file/sensor1_0.cfg", "x");
    root().write("/mnt/mtd/code/config_file/sensor1_3.cfg", "x");
    root().write("/mnt/mtd/code/config_file/sensor1_4.cfg", "x");
    EXPECT_EQ(0, sy_system("rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg", 30));
    EXPECT_FALSE(root().exists("/mnt/mtd/code/config_file/sensor1_0.cfg"));
    EXPECT_FALSE(root().exists("/mnt/mtd/code/config_file/sensor1_3.cfg"));
    EXPECT_TRUE(root().exists("/mnt/mtd/code/config_file/sensor1_4.cfg"));
    EXPECT_EQ(std::vector<std::string>{"rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg"},
              zqsim::systemCommands());
    EXPECT_EQ(0, sy_system("echo hi >/dev/null", 30));
    EXPECT_EQ(-1, sy_system("sleep 5", 1));
}

TEST_F(FrameworkTest, MachineInformationAndModuleConfiguration) {
    MachineInfo objInfo;
    EXPECT_FALSE(SystemInfoParser::parseMachineInfo("/mnt/mtd/code/factory_setting/machineinfo.ini",
                                                    objInfo));
    EXPECT_EQ(0, objInfo.getDeviceType());
    root().write(
        "/mnt/mtd/code/factory_setting/machineinfo.ini",
        "# factory\n[machine]\ndevice_type = 14\nhardware_model=Hi3516AV200\nhardware_code=C7\n");
    ASSERT_TRUE(SystemInfoParser::parseMachineInfo("/mnt/mtd/code/factory_setting/machineinfo.ini",
                                                   objInfo));
    EXPECT_EQ(14, objInfo.getDeviceType());
    EXPECT_EQ("Hi3516AV200", objInfo.getHardwareModel());
    EXPECT_EQ("C7", objInfo.getHardwareCode());

    root().write(
        "/hd1/moduleConfig/moduleConfig.xml",
        "<ModuleConfig>"
        "<Module model=\"Other\" id=\"9\"><Detail>(x=1)</Detail></Module>"
        "<Module model=\"Hi3516AV200\" code=\"C7\" id=\"3\"><Detail>(max_scheme=6)</Detail>"
        "<Parameters>p=1</Parameters></Module>"
        "<Module id=\"4\"/>"
        "</ModuleConfig>");
    std::vector<ModuleConfigure> modules;
    ASSERT_TRUE(ModuleConfigureParser::parse("/hd1/moduleConfig/moduleConfig.xml", "Hi3516AV200",
                                             "C7", modules));
    ASSERT_EQ(2u, modules.size());
    EXPECT_EQ(3, modules[0].getModuleId());
    EXPECT_EQ("(max_scheme=6)", modules[0].getDetail());
    EXPECT_EQ("p=1", modules[0].getParameters());
    EXPECT_EQ(4, modules[1].getModuleId());
    std::vector<ModuleConfigure> none;
    EXPECT_FALSE(ModuleConfigureParser::parse("/hd1/none.xml", "", "", none));
}

TEST_F(FrameworkTest, SplitKeepsPiecesInOrder) {
    const struct {
        const char* szText;
        std::vector<std::string> pieces;
    } cases[] = {{"34,2337", {"34", "2337"}}, {"", {}}, {"a,,b", {"a", "", "b"}}, {",", {"", ""}}};
    for (const auto& c : cases) {
        std::vector<std::string> pieces;
        StringHandler::split(c.szText, pieces, ",");
        EXPECT_EQ(c.pieces, pieces) << c.szText;
    }
    EXPECT_EQ(-12, StringHandler::str2type<int>(" -12x"));
}

TEST_F(FrameworkTest, TimeFollowsTheSimulatedClockAndScale) {
    zqsim::setClock(7, 59);
    ZqTimeFields t = ZqDeviceTime::getCurrentTime();
    EXPECT_EQ(7, t.hour);
    EXPECT_EQ(59, t.minute);
    zqsim::setTimeScale(0.0001);
    auto tStart = std::chrono::steady_clock::now();
    CorvaneTime(10, 0).wait();
    EXPECT_LT(std::chrono::steady_clock::now() - tStart, std::chrono::seconds(5));
}

}  // namespace
