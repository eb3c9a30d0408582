// The steps a run chains when nobody puts in others.
#include "app/drivers.h"
#include "steps/steps.h"

namespace velmo::app {

DriverSteps DriverSteps::Standard() {
    DriverSteps s;
    s.packAndEncrypt = steps::PackAndEncrypt;
    s.upload = steps::Upload;
    s.download = steps::Download;
    s.decryptAndUnpack = steps::DecryptAndUnpack;
    s.cleanUp = steps::CleanUpWork;
    return s;
}

}  // namespace velmo::app
