#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "camera/animcamera.h"
#include "demo/cutfade.h"
#include "demo/democontroller.h"
#include "demo/scenes.h"
#include "demo/scenesmanager.h"
#include "support/tempdir.h"

namespace {

// A scene that starts at a fixed time and needs no content.
class TimedScene : public BaseScene {
public:
    explicit TimedScene(float start) : m_start(start) {}
    void Setup() override {}
    float GetStartTime() override { return m_start; }

private:
    float m_start;
};

TEST(ScenesManager, SwitchesOneStepPerUpdateStrictlyAfterTheStartAndNeverBack) {
    std::vector<std::unique_ptr<BaseScene>> scenes;
    for (float s : {0.0f, 40.0f, 80.0f, 120.0f}) scenes.push_back(std::make_unique<TimedScene>(s));
    ScenesManager manager;
    manager.Init(std::move(scenes), false);
    EXPECT_TRUE(manager.HasChanged());  // Init counts as a change

    struct Step {
        float time;
        unsigned active;
        bool changed;
    };
    const Step steps[] = {
        {0.0f, 0, false},    {40.0f, 0, false},  // exactly the start does not switch
        {40.01f, 1, true},   {40.02f, 1, false},
        {500.0f, 2, true},   {500.0f, 3, true},  // a jump advances one scene per frame
        {500.0f, 3, false},  {10.0f, 3, false},  // the last scene stays, never back
    };
    for (const Step& s : steps) {
        manager.Update(s.time);
        EXPECT_EQ(manager.GetActiveIndex(), s.active) << s.time;
        EXPECT_EQ(manager.HasChanged(), s.changed) << s.time;
    }
}

TEST(CutFade, GoesBlackBeforeTheCutAndClearsAfter) {
    AnimCamera first(1), second(2);
    first.SetEndTime(10.0f);
    second.SetEndTime(20.0f);
    CutFade fade;
    float value = 0.0f;
    for (int frame = 1; frame <= 97; ++frame) value = fade.Update(&first, frame * 0.1f, 0.1f);
    EXPECT_FLOAT_EQ(value, 0.0f);  // through 9.7 s: clear
    const float expected[] = {0.33333334f, 0.6666667f, 1.0f};
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(fade.Update(&first, 9.8f + 0.1f * i, 0.1f), expected[i], 1e-5f);
    // The next camera: down by 0.04 per 0.1 s.
    EXPECT_NEAR(fade.Update(&second, 10.1f, 0.1f), 0.96f, 1e-5f);
    EXPECT_NEAR(fade.Update(&second, 10.2f, 0.1f), 0.92f, 1e-5f);
    EXPECT_NEAR(fade.Update(&second, 10.3f, 0.0f), 0.92f, 1e-5f);  // dt 0 changes nothing
    for (int i = 0; i < 40; ++i) value = fade.Update(&second, 10.4f + 0.1f * i, 0.1f);
    EXPECT_FLOAT_EQ(value, 0.0f);
    EXPECT_FLOAT_EQ(fade.Update(nullptr, 19.9f, 0.1f), 0.0f);  // not an animated camera
}

class ControllerTest : public testing::Test {
protected:
    TempDir dir;
    std::string previous;
    void SetUp() override {
        char cwd[4096];
        previous = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    }
    void TearDown() override { (void)chdir(previous.c_str()); }
};

TEST_F(ControllerTest, StartAndEndScreensFadeOverTheirWindows) {
    DemoController controller;
    controller.BuildFadeCurves();
    const std::pair<float, float> start[] = {{0.0f, 1.0f}, {0.75f, 0.5f}, {1.5f, 0.0f}};
    for (auto [t, v] : start) EXPECT_NEAR(controller.StartScreenOpacity(t), v, 1e-6f) << t;
    EXPECT_LT(controller.StartScreenOpacity(1.51f), 0.0f);  // no longer drawn
    EXPECT_LT(controller.EndScreenOpacity(355.9f), 0.0f);
    const std::pair<float, float> end[] = {{356.0f, 0.0f}, {357.0f, 0.5f}, {358.0f, 1.0f},
                                           {500.0f, 1.0f}};
    for (auto [t, v] : end) EXPECT_NEAR(controller.EndScreenOpacity(t), v, 1e-6f) << t;
}

TEST_F(ControllerTest, AuthoringKeysDumpToTheLog) {
    {
        DemoController controller;  // restarts log.txt in the working folder
        testing::internal::CaptureStderr();
        controller.OnKeyDown('B');
        controller.OnKeyDown('B');
        controller.OnKeyDown('C');
        controller.OnKeyDown('L');
        controller.OnKeyDown('A');  // below B: ignored
        controller.OnKeyDown('Z');  // above X: ignored
        controller.OnKeyDown('T');  // dropped
        controller.OnClick();
        controller.OnClick();
        testing::internal::GetCapturedStderr();
    }
    std::ifstream in(dir.File("log.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(line.find("] ") + 2));
    ASSERT_EQ(lines.size(), 2u + 18u + 18u + 2u);
    EXPECT_EQ(lines[0], "m_fovAnim->SetValue(1, 0.0000);");
    EXPECT_EQ(lines[1], "m_fovAnim->SetValue(0, 0.0000);");
    EXPECT_EQ(lines[2], "Camera");
    EXPECT_EQ(lines[3], "m_view.a[0] = 1.0000f;");
    EXPECT_EQ(lines[4], "m_view.a[1] = 0.0000f;");
    EXPECT_EQ(lines[18], "m_view.a[15] = 1.0000f;");
    EXPECT_EQ(lines[19], "");
    EXPECT_EQ(lines[20], "Light");
    EXPECT_EQ(lines[21], "lightTransform.a[0] = 1.0000f;");
    EXPECT_EQ(lines[38], "changeGreetzProp->SetValue(1, 0.0000);");
    EXPECT_EQ(lines[39], "changeGreetzProp->SetValue(0, 0.0000);");
}

}  // namespace
