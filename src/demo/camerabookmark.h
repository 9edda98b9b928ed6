// Bookmarks of the free camera's pose: slot n is the XML file "cam<n>" (no extension) in the
// working folder, holding a Camera element with one Transform child whose attributes are
// position ("x;y;z"), yaw, pitch and roll in degrees. The authoring keys save and load slot 0.
#pragma once

#include <string>

class ManCam;

// Creates or replaces the slot's file. False, with a log line, when it can't be written.
bool SaveCameraBookmark(const ManCam& camera, int slot);

// Sets position, yaw, pitch and roll from the slot's file; attributes that are absent become
// 0. A missing or malformed file, or one whose root has no Transform child, changes nothing
// and gives false. The root's tag is not checked.
bool LoadCameraBookmark(ManCam& camera, int slot);

// "cam" followed by the slot number in decimal.
std::string CameraBookmarkFileName(int slot);
