#include "camera/xmlwriter.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/fatalcapture.h"
#include "support/germanlocale.h"

namespace {

TEST(XmlWriter, ChildlessElementsCloseThemselvesParentsGetAnEndLine) {
    std::ostringstream out;
    XmlWriter w(out, 0);
    w.OpenElement("Scene");
    w.WriteAttribute("name", std::string("one"));
    w.OpenElement("Empty");
    w.CloseElement();
    w.OpenElement("Group");
    w.OpenElement("Item");
    w.WriteAttribute("v", 1.5f);
    w.CloseElement();
    w.OpenElement("Item");
    w.CloseElement();
    w.CloseElement();
    w.CloseElement();
    EXPECT_EQ(out.str(),
              "<Scene name=\"one\">\n"
              "\t<Empty />\n"
              "\t<Group>\n"
              "\t\t<Item v=\"1.5\" />\n"
              "\t\t<Item />\n"
              "\t</Group>\n"
              "</Scene>\n");
}

TEST(XmlWriter, StartsAtTheGivenIndentLevel) {
    std::ostringstream out;
    XmlWriter w(out, 2);
    w.OpenElement("a");
    w.OpenElement("b");
    w.CloseElement();
    w.CloseElement();
    EXPECT_EQ(out.str(), "\t\t<a>\n\t\t\t<b />\n\t\t</a>\n");
}

TEST(XmlWriter, FloatsUseSixSignificantDigitsAndAPointWhateverTheLocale) {
    ScopedGermanLocale german;  // when there is none, the check runs in the C locale
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {{0.5f, "0.5"},
                          {0.0f, "0"},
                          {-2.25f, "-2.25"},
                          {1.0f / 3, "0.333333"},
                          {123456789.0f, "1.23457e+08"},
                          {1e-7f, "1e-07"},
                          {100000.0f, "100000"}};
    for (const Case& c : cases) {
        std::ostringstream out;
        XmlWriter w(out, 0);
        w.OpenElement("a");
        w.WriteAttribute("v", c.value);
        EXPECT_EQ(out.str(), std::string("<a v=\"") + c.text + "\"") << c.text;
    }
}

TEST(XmlWriter, StringValuesAreEscaped) {
    std::ostringstream out;
    XmlWriter w(out, 0);
    w.OpenElement("a");
    w.WriteAttribute("v", std::string("say \"x\" & <y>"));
    w.CloseElement();
    EXPECT_EQ(out.str(), "<a v=\"say &quot;x&quot; &amp; &lt;y&gt;\" />\n");
}

TEST(XmlWriter, AttributesNeedAnOpenStartTag) {
    const char kFatal[] = "Assertion failed: isElementBracketOpen == true, file xmlwriter.cpp";
    std::ostringstream out;
    XmlWriter w(out, 0);
    // before any element
    EXPECT_EQ(CaptureFatal([&] { w.WriteAttribute("x", 1.0f); }).rfind(kFatal, 0), 0u);
    w.OpenElement("parent");
    w.OpenElement("child");
    w.CloseElement();
    // after a child the parent's start tag is finished; after a self-closed one too
    EXPECT_EQ(CaptureFatal([&] { w.WriteAttribute("x", 1.0f); }).rfind(kFatal, 0), 0u);
    w.CloseElement();
    EXPECT_EQ(CaptureFatal([&] { w.WriteAttribute("x", std::string("s")); }).rfind(kFatal, 0), 0u);
    EXPECT_EQ(out.str(), "<parent>\n\t<child />\n</parent>\n");
    // and closing more than was opened
    std::string message = CaptureFatal([&] { w.CloseElement(); });
    EXPECT_EQ(message.rfind("Assertion failed: !m_elements.empty(), file xmlwriter.cpp", 0), 0u)
        << message;
}

}  // namespace
