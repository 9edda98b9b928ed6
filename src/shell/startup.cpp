#include "shell/startup.h"

#include "base/log.h"
#include "content/showdata.h"
#include "content/unpackarchive.h"
#include "demo/democontroller.h"
#include "platform/filesystem.h"

namespace {

const char* const kWindowTitle = "Pindle :: by Korvane";

}  // namespace

std::string UnpackShowData(const std::string& archivePath) {
    const std::string tempDir = PlatformTempFolder();
    UnpackArchive(archivePath, tempDir);
    LogMessage("LODA %d", 146);
    return tempDir + kDataFolderName + "/";
}

DemoController* StartShow(const ShowSurface& surface, const std::string& dataDir,
                          std::string* error) {
    auto fail = [error](const char* step) -> DemoController* {
        *error = step;
        StopShow();
        return nullptr;
    };
    DemoController* controller = GetInstance();
    if (!controller->Initialize(nullptr, kWindowTitle, surface.width, surface.height,
                                surface.bits, surface.refreshRate, surface.fullscreen, true))
        return fail("the show could not make its GL surface");
    LogMessage("LODA %d", 161);
    if (!controller->LoadContent(dataDir)) return fail("the show's content did not load");
    LogMessage("LODA %d", 170);
    if (!controller->InitDrawingRoutines())
        return fail("the show's drawing routines did not start");
    LogMessage("LODA %d", 179);
    return controller;
}

void StopShow() {
    if (!DemoController::HasInstance()) return;
    GetInstance()->Release();
    DestroyInstance();
}
