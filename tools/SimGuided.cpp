// The guided run: what a firmware engineer would type to get to know the controller, each step
// introduced by one line and echoed as typed.
#include <cstdio>
#include <string>

#include "SimCamera.h"

namespace {

class Tour {
  public:
    explicit Tour(SimCamera& p_objCamera) : m_objCamera(p_objCamera) {}

    void say(const char* p_szText) {
        if (m_bOk) printf("\n%s\n", p_szText);
    }
    // A failed step ends the tour; its error has been printed.
    void type(const std::string& p_strCommand) {
        if (m_bOk) m_bOk = m_objCamera.execute(p_strCommand);
    }
    bool ok() const { return m_bOk; }

  private:
    SimCamera& m_objCamera;
    bool m_bOk = true;
};

}  // namespace

int runGuidedTour(SimCamera& p_objCamera) {
    p_objCamera.setEcho(true);
    Tour objTour(p_objCamera);
    objTour.say("The device, as its machine information in the working root describes it.");
    objTour.type("device");
    bool bDual = p_objCamera.modules().size() > 1 && p_objCamera.thermalChannel(2) &&
                 !p_objCamera.thermalChannel(1);

    objTour.say(
        "init builds the style and the factory values, creates the scheme files, applies "
        "scheme 0 and starts the scheduler thread.");
    objTour.type("isp clear");
    objTour.type("init 1");
    objTour.say("What the ISP received during init:");
    objTour.type("isp summary");
    if (bDual) {
        objTour.say("A dual-sensor device: channel 2 drives the thermal sensor.");
        objTour.type("init 2");
        objTour.type("channel 1");
    }

    objTour.say(
        "A read is answered from the current scheme. A write goes to the ISP; WDR also tells the "
        "video module before and after.");
    objTour.type("isp clear");
    objTour.type("video clear");
    objTour.type("get KEY_BRIGHTNESS");
    objTour.type("set KEY_WDR_MODE 1");
    objTour.type("isp");
    objTour.type("video");

    objTour.say("Scheme 1 still holds the factory values: switching sends only what differs.");
    objTour.type("isp clear");
    objTour.type("scheme 1");
    objTour.type("isp");
    objTour.type("scheme 0");

    objTour.say(
        "Scheme mode 2 in scheme 0 makes schemes 0 and 1 follow the day/night state. The "
        "scheduler reads the state once a simulated second and switches on its own.");
    objTour.type("set KEY_SCHEME_MODE 2");
    objTour.type("isp clear");
    objTour.type("daynight night");
    objTour.type("run 30");
    objTour.type("scheme");
    objTour.type("isp");
    objTour.type("daynight day");
    objTour.type("run 30");
    objTour.type("scheme");

    objTour.say("flush saves the current scheme to its file; uinit stops the channel.");
    objTour.type("flush");
    objTour.type("uinit 1");
    if (bDual) objTour.type("uinit 2");
    objTour.say("More: luxtune-sim help, luxtune-sim - (commands from standard input).");
    return objTour.ok() ? 0 : 1;
}
