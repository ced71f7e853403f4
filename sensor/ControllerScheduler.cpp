// The scheme scheduler: one pass of the controller's background thread.
#include "ISensorController.h"
#include "internal/ControllerUnit.h"

int ISensorController::sensorThread() {
    // Scheme selection by time and by day/night state joins this pass with the scheme code.
    CorvaneTime(1, 0).wait();
    return 0;
}
