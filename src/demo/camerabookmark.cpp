#include "demo/camerabookmark.h"

#include <fstream>
#include <memory>

#include "base/log.h"
#include "camera/xmlwriter.h"
#include "content/xmlnode.h"
#include "demo/mancam.h"
#include "platform/filesystem.h"

std::string CameraBookmarkFileName(int slot) { return "cam" + std::to_string(slot); }

bool SaveCameraBookmark(const ManCam& camera, int slot) {
    const std::string path = PlatformResolvePath(CameraBookmarkFileName(slot));
    std::ofstream file(path, std::ios::out | std::ios::trunc);
    if (!file) {
        LogMessage("Can't write the camera bookmark %s", path.c_str());
        return false;
    }
    XmlWriter writer(file, 0);
    writer.OpenElement("Camera");
    writer.OpenElement("Transform");
    writer.WriteAttribute("position", FormatVec3(camera.GetPosition(), ";"));
    writer.WriteAttribute("yaw", camera.GetYaw());
    writer.WriteAttribute("pitch", camera.GetPitch());
    writer.WriteAttribute("roll", camera.GetRoll());
    writer.CloseElement();
    writer.CloseElement();
    file.close();
    if (!file) {
        LogMessage("Can't write the camera bookmark %s", path.c_str());
        return false;
    }
    return true;
}

bool LoadCameraBookmark(ManCam& camera, int slot) {
    std::unique_ptr<XMLNode> root = XMLNode::LoadFromFile(CameraBookmarkFileName(slot));
    if (!root) return false;
    const XMLNode* transform = root->FindChild("Transform");
    if (!transform) return false;
    const sm::Vec3 position = ParseVec3(transform->GetAttribute("position", ""));
    const float yaw = transform->GetAttributeFloat("yaw", 0.0f);
    const float pitch = transform->GetAttributeFloat("pitch", 0.0f);
    const float roll = transform->GetAttributeFloat("roll", 0.0f);
    camera.SetPosition(position);
    camera.SetYaw(yaw);
    camera.SetPitch(pitch);
    camera.SetRoll(roll);
    return true;
}
