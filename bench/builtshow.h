// The built show for the benchmarks that time it: demodat unpacked into a fresh folder under
// /tmp and the controller started as the show starts it, without the setup dialog and the music,
// on an offscreen surface of the given size, so no display is needed. Made once per process;
// any failure aborts. The timeline only moves forward, so callers step it in show order.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "content/showdata.h"
#include "content/unpackarchive.h"
#include "demo/democontroller.h"
#include "shell/startup.h"
#include "window/openglwindow.h"

inline DemoController* BuiltShow(int width, int height) {
    static DemoController* controller = [&] {
        char pattern[] = "/tmp/pindle-bench-XXXXXX";
        std::string root = mkdtemp(pattern);
        if (chdir(root.c_str()) != 0) std::abort();
        UnpackArchive(std::string(PINDLE_BUILT_CONTENT_DIR) + "/demodat", root + "/");
        OpenglWindow::UseOffscreenSurfaces(true);
        ShowSurface surface;
        surface.width = width;
        surface.height = height;
        std::string error;
        DemoController* c = StartShow(surface, root + "/" + kDataFolderName + "/", &error);
        if (!c) std::abort();
        return c;
    }();
    return controller;
}
