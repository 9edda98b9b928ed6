#include "demo/camerabookmark.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "demo/mancam.h"
#include "support/fatalcapture.h"
#include "support/germanlocale.h"
#include "support/tempdir.h"

namespace {

// Bookmarks live in the working folder: each test runs in a fresh one.
class Bookmark : public testing::Test {
protected:
    void SetUp() override {
        char* previous = getcwd(nullptr, 0);
        ASSERT_NE(previous, nullptr);
        m_previous = previous;
        free(previous);
        ASSERT_EQ(chdir(m_dir.Path().c_str()), 0);
    }
    void TearDown() override { ASSERT_EQ(chdir(m_previous.c_str()), 0); }

    static ManCam Posed(const sm::Vec3& position, float yaw, float pitch, float roll) {
        ManCam camera;
        camera.SetPosition(position);
        camera.SetYaw(yaw);
        camera.SetPitch(pitch);
        camera.SetRoll(roll);
        return camera;
    }
    static void ExpectPose(const ManCam& c, const sm::Vec3& p, float yaw, float pitch, float roll) {
        EXPECT_EQ(c.GetPosition(), p);
        EXPECT_FLOAT_EQ(c.GetYaw(), yaw);
        EXPECT_FLOAT_EQ(c.GetPitch(), pitch);
        EXPECT_FLOAT_EQ(c.GetRoll(), roll);
    }

    TempDir m_dir;
    std::string m_previous;
};

const char kSlot0[] =
    "<Camera>\n"
    "\t<Transform position=\"1.000000;2.000000;3.000000\" yaw=\"0.5\" pitch=\"0\" roll=\"0\" />\n"
    "</Camera>\n";

TEST_F(Bookmark, SlotZeroIsTheFileCam0WithThreeLines) {
    EXPECT_EQ(CameraBookmarkFileName(0), "cam0");
    EXPECT_EQ(CameraBookmarkFileName(12), "cam12");
    ASSERT_TRUE(SaveCameraBookmark(Posed(sm::Vec3(1, 2, 3), 0.5f, 0, 0), 0));
    EXPECT_EQ(ReadFileBytes(m_dir.File("cam0")), kSlot0);
}

TEST_F(Bookmark, SavingReplacesAndTheTextIgnoresAGermanLocale) {
    WriteFileBytes(m_dir.File("cam0"), std::string(500, 'x'));
    ScopedGermanLocale german;
    if (!german.Active()) GTEST_SKIP() << "no German locale on this system";
    ASSERT_TRUE(SaveCameraBookmark(Posed(sm::Vec3(1, 2, 3), 0.5f, 0, 0), 0));
    EXPECT_EQ(ReadFileBytes(m_dir.File("cam0")), kSlot0);
    ManCam loaded;
    ASSERT_TRUE(LoadCameraBookmark(loaded, 0));
    ExpectPose(loaded, sm::Vec3(1, 2, 3), 0.5f, 0, 0);
}

TEST_F(Bookmark, SaveThenLoadGivesThePoseBack) {
    ASSERT_TRUE(SaveCameraBookmark(Posed(sm::Vec3(-4.5f, 0.25f, 1000), 90, -12.5f, 3), 3));
    ManCam camera;
    ASSERT_TRUE(LoadCameraBookmark(camera, 3));
    ExpectPose(camera, sm::Vec3(-4.5f, 0.25f, 1000), 90, -12.5f, 3);
}

TEST_F(Bookmark, UnusableFilesChangeNothing) {
    const char* const texts[] = {
        "", "<Camera>", "<Camera><transform position=\"1;1;1\"/></Camera>",
        "<Transform position=\"1;1;1\"/>",  // the root itself does not count
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        WriteFileBytes(m_dir.File("cam0"), text);
        ManCam camera = Posed(sm::Vec3(7, 8, 9), 1, 2, 3);
        EXPECT_FALSE(LoadCameraBookmark(camera, 0));
        ExpectPose(camera, sm::Vec3(7, 8, 9), 1, 2, 3);
    }
    ManCam camera = Posed(sm::Vec3(7, 8, 9), 1, 2, 3);
    EXPECT_FALSE(LoadCameraBookmark(camera, 5));  // no cam5
    ExpectPose(camera, sm::Vec3(7, 8, 9), 1, 2, 3);
}

TEST_F(Bookmark, AnyRootTagAndAbsentAttributesBecomeZero) {
    WriteFileBytes(m_dir.File("cam0"), "<View><Other/><Transform yaw=\"45\"/></View>");
    ManCam camera = Posed(sm::Vec3(7, 8, 9), 1, 2, 3);
    ASSERT_TRUE(LoadCameraBookmark(camera, 0));
    ExpectPose(camera, sm::Vec3(0, 0, 0), 45, 0, 0);
}

TEST_F(Bookmark, ANonNumericAngleIsFatalAndLeavesThePose) {
    WriteFileBytes(m_dir.File("cam0"),
                   "<Camera><Transform position=\"1;2;3\" roll=\"up\"/></Camera>");
    ManCam camera = Posed(sm::Vec3(7, 8, 9), 1, 2, 3);
    std::string message = CaptureFatal([&] { LoadCameraBookmark(camera, 0); });
    EXPECT_EQ(message.rfind("Assertion failed: false && \"wrong format\"", 0), 0u) << message;
    EXPECT_NE(message.find("cam0, line 1"), std::string::npos) << message;
    ExpectPose(camera, sm::Vec3(7, 8, 9), 1, 2, 3);
}

TEST_F(Bookmark, AFolderInTheWayFailsTheSave) {
    ASSERT_EQ(mkdir(m_dir.File("cam0").c_str(), 0700), 0);
    EXPECT_FALSE(SaveCameraBookmark(ManCam(), 0));
}

TEST(Camera, InterfaceDefaultsAndTheFreeCamerasOwnValues) {
    struct Fixed : ICamera {
        void GetViewMatrix(sm::Mat4& out) const override { out = sm::Mat4(); }
        float GetFov(float) const override { return 1; }
        void GetPosition(sm::Vec3& out) const override { out = sm::Vec3(); }
    };
    Fixed fixed;
    const ICamera& base = fixed;
    EXPECT_FLOAT_EQ(base.GetNear(), 0.1f);
    EXPECT_FLOAT_EQ(base.GetFar(), 100.0f);

    ManCam free;
    const ICamera& camera = free;
    EXPECT_FLOAT_EQ(camera.GetNear(), 0.1f);
    EXPECT_FLOAT_EQ(camera.GetFar(), 1000.0f);
    EXPECT_FLOAT_EQ(camera.GetFov(0), 1.0471976f);
    EXPECT_FLOAT_EQ(camera.GetFov(123.5f), 1.0471976f);
    sm::Vec3 eye;
    camera.GetPosition(eye);
    EXPECT_EQ(eye, sm::Vec3(0, 0, 20));
    EXPECT_EQ(free.GetYaw() + free.GetPitch() + free.GetRoll(), 0.0f);
}

}  // namespace
