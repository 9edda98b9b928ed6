// The show. Arguments are ignored: everything it needs is "demodat" and "setup.jpg" in the
// working folder.
#include <cstdio>

#include "base/assert.h"
#include "base/log.h"
#include "platform/messagebox.h"
#include "platform/setupwindow.h"
#include "platform/video.h"
#include "shell/startnormalmode.h"

int main() {
    SetFatalPresenter(PlatformShowFatalMessage);
    if (!PlatformHasDisplay() || !PlatformInitVideo() || !PlatformInitDialogs()) {
        std::fprintf(stderr,
                     "pindle: no display; use pindle-capture to render the show without one\n");
        return 1;
    }
    InitLog(false, true, false, "log.txt");
    StartNormalMode();
    return 0;
}
