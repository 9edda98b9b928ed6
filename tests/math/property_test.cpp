#include <gtest/gtest.h>

#include <string>

#include "math/property.h"
#include "mathtest.h"

namespace {

using sm::Vec3;

TEST(Property, EveryValidCombinationStartsAtZero) {
    const int types[] = {PropertyType_Boolean, PropertyType_Int, PropertyType_Float,
                         PropertyType_Vector3, PropertyType_String};
    for (int type : types) {
        for (int anim :
             {AnimationType_None, AnimationType_State, AnimationType_Linear, AnimationType_TCB}) {
            bool numeric = type != PropertyType_Boolean && type != PropertyType_String;
            if (!numeric && anim >= AnimationType_Linear) continue;
            Property p("p", type, anim);
            EXPECT_EQ(p.GetPropertyType(), type);
            EXPECT_EQ(p.GetAnimationType(), anim);
            EXPECT_EQ(p.IsAnimated(), anim != AnimationType_None);
            EXPECT_EQ(p.GetInterpolator() != nullptr, p.IsAnimated());
            switch (type) {
                case PropertyType_Boolean:
                    EXPECT_FALSE(p.GetBool(1));
                    break;
                case PropertyType_Int:
                    EXPECT_EQ(p.GetInt(1), 0);
                    break;
                case PropertyType_Float:
                    EXPECT_EQ(p.GetFloat(1), 0.0f);
                    break;
                case PropertyType_Vector3:
                    EXPECT_EQ(p.GetVector3(1), Vec3(0, 0, 0));
                    break;
                case PropertyType_String:
                    EXPECT_EQ(p.GetString(1), "");
                    break;
            }
        }
    }
}

TEST(Property, AnimatedIntReportsTheDecidingKey) {
    Property state("castShadows", PropertyType_Int, AnimationType_State);
    state.SetInt(1, 0);
    state.SetInt(0, 10);
    int key = -1;
    EXPECT_EQ(state.GetInt(5, &key), 1);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(state.GetInt(10, &key), 0);
    EXPECT_EQ(key, 1);
    EXPECT_EQ(state.GetInt(20), 0);
    EXPECT_EQ(state.GetInterpolator()->GetKeysCount(), 2);

    Property linear("n", PropertyType_Int, AnimationType_Linear);
    linear.SetInt(0, 0);
    linear.SetInt(3, 1);
    EXPECT_EQ(linear.GetInt(0.5f, &key), 1);
    EXPECT_EQ(key, 1);
}

TEST(Property, ConstantsIgnoreTimeAndLeaveTheKeyIndex) {
    Property number("receiveshadows", PropertyType_Int, AnimationType_None);
    number.SetInt(7, 3);
    for (float t : {-1.0f, 0.0f, 3.0f, 100.0f}) {
        int key = 42;
        EXPECT_EQ(number.GetInt(t, &key), 7);
        EXPECT_EQ(key, 42);
    }

    Property flag("b", PropertyType_Boolean, AnimationType_None);
    flag.SetBool(true);
    EXPECT_TRUE(flag.GetBool(0));
    Property vector("v", PropertyType_Vector3, AnimationType_None);
    vector.SetVector3(Vec3(1, 2, 3));
    EXPECT_EQ(vector.GetVector3(9), Vec3(1, 2, 3));
    Property text("s", PropertyType_String, AnimationType_None);
    text.SetString("glow");
    EXPECT_EQ(text.GetString(0), "glow");
    EXPECT_EQ(text.GetName(), "s");

    Property keyed("f", PropertyType_Float, AnimationType_TCB);
    keyed.SetFloat(0, 0);
    keyed.SetFloat(10, 2);
    EXPECT_FLOAT_EQ(keyed.GetFloat(1), 5);
    Property constant("f", PropertyType_Float, AnimationType_None);
    constant.SetFloat(2.5f, 0);
    EXPECT_EQ(constant.GetFloat(4), 2.5f);
}

TEST(PropertyDeathTest, LinearOrTcbOnlyForNumbers) {
    const int invalid[][2] = {
        {PropertyType_Boolean, AnimationType_Linear},
        {PropertyType_Boolean, AnimationType_TCB},
        {PropertyType_String, AnimationType_Linear},
        {PropertyType_String, AnimationType_TCB},
        {5, AnimationType_None},
        {PropertyType_Int, 4},
    };
    for (const auto& c : invalid) {
        EXPECT_DEATH(Property("p", c[0], c[1]), AssertionPattern("0")) << c[0] << ", " << c[1];
    }
}

TEST(PropertyDeathTest, EverySetterAndGetterChecksTheType) {
    Property floating("f", PropertyType_Float, AnimationType_None);
    Property integer("i", PropertyType_Int, AnimationType_None);
    EXPECT_DEATH(floating.SetBool(true), AssertionPattern("m_propType == PropertyType_Boolean"));
    EXPECT_DEATH(floating.SetInt(1, 0), AssertionPattern("m_propType == PropertyType_Int"));
    EXPECT_DEATH(integer.SetFloat(1, 0), AssertionPattern("m_propType == PropertyType_Float"));
    EXPECT_DEATH(floating.SetVector3(Vec3(1, 2, 3)),
                 AssertionPattern("m_propType == PropertyType_Vector3"));
    EXPECT_DEATH(floating.SetString("x"), AssertionPattern("m_propType == PropertyType_String"));
    EXPECT_DEATH(floating.GetInt(0), AssertionPattern("m_propType == PropertyType_Int"));
    EXPECT_DEATH(integer.GetFloat(0), AssertionPattern("m_propType == PropertyType_Float"));

    // Keys can only be set on animated int and float properties.
    Property keyedFlag("b", PropertyType_Boolean, AnimationType_State);
    EXPECT_DEATH(keyedFlag.SetBool(true), AssertionPattern("!IsAnimated()"));
    Property keyedText("s", PropertyType_String, AnimationType_State);
    EXPECT_DEATH(keyedText.SetString("x"), AssertionPattern("!IsAnimated()"));
}

}  // namespace
