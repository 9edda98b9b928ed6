#include "content/xmlnode.h"

#include <gtest/gtest.h>

#include <tinyxml2.h>

#include <string>

#include "support/fatalcapture.h"
#include "support/germanlocale.h"
#include "support/tempdir.h"

namespace {

const char kWrongFormat[] = "Assertion failed: false && \"wrong format\", file xmlnode.cpp";
const char kNotABool[] = "Assertion failed: false && \"its not a bool\", file xmlnode.cpp";

class XmlFile : public testing::Test {
protected:
    std::unique_ptr<XMLNode> Load(const std::string& text, const std::string& name = "a.xml") {
        WriteFileBytes(m_dir.File(name), text);
        return XMLNode::LoadFromFile(m_dir.File(name));
    }
    TempDir m_dir;
};

std::string Nested(int levels) {
    std::string text;
    for (int i = 0; i < levels; ++i) text += "<n>";
    for (int i = 0; i < levels; ++i) text += "</n>";
    return text;
}

int Depth(const XMLNode& node) {
    int depth = 1;
    for (const XMLNode* n = &node; n->GetChildrenCount() > 0; n = n->GetChild(0)) ++depth;
    return depth;
}

TEST_F(XmlFile, ElementsBecomeNodesAndEverythingElseIsDropped) {
    auto root = Load(
        "<?xml version=\"1.0\"?>\n<!-- lead -->\n"
        "<Scene a=\"1\" b=\"x &amp; &lt;y&gt; &#65;\">\n"
        "  some text\n  <First/>\n  <!-- between -->\n  <![CDATA[<Fake/>]]>\n"
        "  <Second k=\"v\">inner text<Leaf/></Second>\n  <First id=\"2\"/>\n"
        "</Scene>\n<!-- trail -->\n");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "Scene");
    EXPECT_EQ(root->GetAttributes().size(), 2u);
    EXPECT_EQ(root->GetAttribute("b", ""), "x & <y> A");
    ASSERT_EQ(root->GetChildrenCount(), 3);
    EXPECT_EQ(root->GetChild(0)->GetName(), "First");
    EXPECT_EQ(root->GetChild(1)->GetName(), "Second");
    EXPECT_EQ(root->GetChild(1)->GetChildrenCount(), 1);
    EXPECT_EQ(root->GetChild(2)->GetAttribute("id", ""), "2");
    // the first of two children of that name, matched exactly
    EXPECT_EQ(root->FindChild("First"), root->GetChild(0));
    EXPECT_EQ(root->FindChild("first"), nullptr);
    EXPECT_EQ(root->FindChild("Leaf"), nullptr);
    EXPECT_EQ(root->GetChild(1)->DescribeOrigin(), m_dir.File("a.xml") + ", line 8");
}

TEST_F(XmlFile, EmptyElementWithTwoAttributes) {
    auto root = Load("<Param Type=\"Opacity\" Value=\"0.5\"/>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "Param");
    EXPECT_EQ(root->GetAttributes().size(), 2u);
    EXPECT_EQ(root->GetChildrenCount(), 0);
}

TEST_F(XmlFile, WhitespaceInValuesIsKeptAndALaterRootIsIgnored) {
    auto root = Load("<a v=\"  two  words \"/><b/>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "a");
    EXPECT_EQ(root->GetAttribute("v", ""), "  two  words ");
}

TEST_F(XmlFile, UnreadableFilesLoadAsNull) {
    const char* const broken[] = {
        "",                         // empty
        "   \n",                    // blanks only
        "<!-- only a comment -->",  // no element
        "<?xml version=\"1.0\"?>",  // declaration only
        "<a>",                      // unclosed
        "<a></b>",                  // mismatched
        "<a x=\"1\" x=\"2\"/>",     // duplicate attribute
        "<a x=1/>",                 // unquoted
    };
    for (const char* text : broken) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Load(text), nullptr);
    }
    EXPECT_EQ(XMLNode::LoadFromFile(m_dir.File("missing.xml")), nullptr);
    EXPECT_EQ(XMLNode::LoadFromFile(m_dir.Path()), nullptr);  // a folder
}

TEST_F(XmlFile, PathsWithBackslashesAndAnotherCaseAreResolved) {
    WriteFileBytes(m_dir.File("Scene.XML"), "<s/>");
    auto root = XMLNode::LoadFromFile(m_dir.Path() + "\\scene.xml");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "s");
}

TEST(XmlNode, ChildIndexOutOfRangeIsFatal) {
    XMLNode node("n");
    node.AddChild(std::make_unique<XMLNode>("c"));
    EXPECT_EQ(node.GetChild(0)->GetName(), "c");
    for (int index : {1, -1}) {
        std::string message = CaptureFatal([&] { node.GetChild(index); });
        EXPECT_NE(message.find("Assertion failed: index < m_children.size(), file xmlnode.cpp"),
                  std::string::npos)
            << message;
    }
}

TEST_F(XmlFile, TypedAccessorsConvertPresentValuesAndDefaultAbsentOnes) {
    auto node = Load(
        "<n i=\" 42x\" neg=\"-7\" f=\"2.5abc\" e=\"1e-3\" lead=\"  .5\" t=\"TRUE\" one=\"1\""
        " no=\"False\" zero=\"0\" empty=\"\"/>");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetAttributeInt("i", 0), 42);
    EXPECT_EQ(node->GetAttributeInt("neg", 0), -7);
    EXPECT_EQ(node->GetAttributeInt("f", 0), 2);
    EXPECT_EQ(node->GetAttributeInt("absent", 9), 9);
    EXPECT_FLOAT_EQ(node->GetAttributeFloat("f", 0), 2.5f);
    EXPECT_FLOAT_EQ(node->GetAttributeFloat("e", 0), 0.001f);
    EXPECT_FLOAT_EQ(node->GetAttributeFloat("lead", 0), 0.5f);
    EXPECT_FLOAT_EQ(node->GetAttributeFloat("i", 0), 42.0f);
    EXPECT_FLOAT_EQ(node->GetAttributeFloat("absent", 1.25f), 1.25f);
    EXPECT_TRUE(node->GetAttributeBool("t", false));
    EXPECT_TRUE(node->GetAttributeBool("one", false));
    EXPECT_FALSE(node->GetAttributeBool("no", true));
    EXPECT_FALSE(node->GetAttributeBool("zero", true));
    EXPECT_TRUE(node->GetAttributeBool("absent", true));
    EXPECT_TRUE(node->HasAttribute("empty"));
    EXPECT_FALSE(node->HasAttribute("absent"));
    EXPECT_EQ(node->GetAttribute("empty", "d"), "");
    EXPECT_EQ(node->GetAttribute("absent", "d"), "d");
}

TEST_F(XmlFile, ValuesOfTheWrongKindAreFatalAndSayWhere) {
    auto node = Load(
        "<root>\n<n empty=\"\" word=\"abc\" blank=\"  \" big=\"2147483648\" small=\"-2147483649\""
        " yes=\"yes\" sign=\"-\" dot=\".\" two=\"2\"/>\n</root>");
    ASSERT_NE(node, nullptr);
    const XMLNode& n = *node->GetChild(0);
    struct Case {
        const char* attribute;
        int kind;  // 0 int, 1 float, 2 bool
        const char* fatal;
    };
    const Case cases[] = {
        {"empty", 0, kWrongFormat}, {"word", 0, kWrongFormat},  {"blank", 0, kWrongFormat},
        {"big", 0, kWrongFormat},   {"small", 0, kWrongFormat}, {"sign", 0, kWrongFormat},
        {"empty", 1, kWrongFormat}, {"word", 1, kWrongFormat},  {"dot", 1, kWrongFormat},
        {"sign", 1, kWrongFormat},  {"yes", 2, kNotABool},      {"empty", 2, kNotABool},
        {"two", 2, kNotABool},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.attribute) + " as kind " + std::to_string(c.kind));
        std::string message = CaptureFatal([&] {
            if (c.kind == 0) n.GetAttributeInt(c.attribute, 0);
            if (c.kind == 1) n.GetAttributeFloat(c.attribute, 0);
            if (c.kind == 2) n.GetAttributeBool(c.attribute, false);
        });
        EXPECT_EQ(message.rfind(c.fatal, 0), 0u) << message;
        EXPECT_NE(message.find(m_dir.File("a.xml") + ", line 2"), std::string::npos) << message;
        EXPECT_NE(message.find(std::string("attribute ") + c.attribute + "="), std::string::npos)
            << message;
    }
}

TEST(XmlNode, ParseVec3TakesWhatTheSemicolonFormatReaches) {
    struct Case {
        const char* text;
        sm::Vec3 expected;
    };
    const Case cases[] = {
        {"1;2;3", {1, 2, 3}},     {"1;2", {1, 2, 0}},
        {"1", {1, 0, 0}},         {"", {0, 0, 0}},
        {"abc", {0, 0, 0}},       {";2;3", {0, 0, 0}},
        {"1 ; 2 ; 3", {1, 0, 0}},  // the semicolon must follow its number
        {" 1; 2;\t3", {1, 2, 3}},  // blanks before a number are skipped
        {"1;x;3", {1, 0, 0}},     {"-0.5;1e2;.25", {-0.5f, 100, 0.25f}},
        {"1;2;3;4", {1, 2, 3}},   {"1,5;2;3", {1, 0, 0}},  // no decimal comma
        {"1;2;3xyz", {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        sm::Vec3 v = ParseVec3(c.text);
        EXPECT_FLOAT_EQ(v.x, c.expected.x);
        EXPECT_FLOAT_EQ(v.y, c.expected.y);
        EXPECT_FLOAT_EQ(v.z, c.expected.z);
    }
}

TEST(XmlNode, FormatVec3PrintsSixDecimalsBetweenSeparators) {
    EXPECT_EQ(FormatVec3(sm::Vec3(1, 2, 3), ";"), "1.000000;2.000000;3.000000");
    EXPECT_EQ(FormatVec3(sm::Vec3(-0.5f, 0, 1e7f), ", "), "-0.500000, 0.000000, 10000000.000000");
    EXPECT_EQ(FormatVec3(sm::Vec3(1e30f, 0, 0), ";").substr(0, 10), "1000000015");
    sm::Vec3 back = ParseVec3(FormatVec3(sm::Vec3(0.25f, -3.5f, 7), ";"));
    EXPECT_EQ(back, sm::Vec3(0.25f, -3.5f, 7));
}

TEST_F(XmlFile, NumbersIgnoreAGermanLocale) {
    auto node = Load("<n f=\"2.5\" i=\"3,5\" v=\"0.5;1.5;2.5\"/>");
    ASSERT_NE(node, nullptr);
    ScopedGermanLocale german;
    if (!german.Active()) GTEST_SKIP() << "no German locale on this system";
    EXPECT_FLOAT_EQ(node->GetAttributeFloat("f", 0), 2.5f);
    EXPECT_FLOAT_EQ(node->GetAttributeFloat("i", 0), 3.0f);
    EXPECT_EQ(ParseVec3(node->GetAttribute("v", "")), sm::Vec3(0.5f, 1.5f, 2.5f));
    EXPECT_EQ(FormatVec3(sm::Vec3(0.5f, 1, 2), ";"), "0.500000;1.000000;2.000000");
}

TEST_F(XmlFile, DeepNestingIsFatalAndNamesTheFile) {
    // The parser's own limit is below ours; the deepest tree it takes loads whole.
    auto deep = Load(Nested(98));
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(Depth(*deep), 98);
    for (int levels : {kMaxXmlNodeDepth + 1, 100000}) {
        SCOPED_TRACE(levels);
        std::string message = CaptureFatal([&] { Load(Nested(levels), "deep.xml"); });
        EXPECT_NE(message.find(m_dir.File("deep.xml")), std::string::npos) << message;
        EXPECT_NE(message.find("nested too deeply"), std::string::npos) << message;
    }
}

TEST(XmlNode, TreesBuiltInMemoryStopAtTheDepthLimit) {
    tinyxml2::XMLDocument document;
    tinyxml2::XMLElement* root = document.NewElement("n");
    document.InsertEndChild(root);
    tinyxml2::XMLElement* last = root;
    for (int level = 2; level <= kMaxXmlNodeDepth; ++level) {
        last = last->InsertNewChildElement("n");
    }
    auto full = XMLNode::FromElement(*root, "memory");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(Depth(*full), kMaxXmlNodeDepth);
    last->InsertNewChildElement("n");
    std::string message = CaptureFatal([&] { XMLNode::FromElement(*root, "memory"); });
    EXPECT_NE(message.find("memory, line 0: XML elements nested too deeply (more than 256"),
              std::string::npos)
        << message;
}

TEST_F(XmlFile, EveryTruncationOfAValidFileIsSafe) {
    const std::string text =
        "<?xml version=\"1.0\"?>\n<Camera name=\"a &amp; b\">\n"
        "\t<Transform position=\"1.000000;2.000000;3.000000\" yaw=\"0.5\" pitch=\"0\"/>\n"
        "\t<!-- c --><Other><Leaf v=\"1\"/></Other>\n</Camera>\n";
    for (size_t length = 0; length < text.size(); ++length) {
        SCOPED_TRACE(length);
        std::unique_ptr<XMLNode> root;
        std::string message = CaptureFatal([&] { root = Load(text.substr(0, length)); });
        EXPECT_EQ(message, "");
        // only the cut of the final newline leaves a complete document
        EXPECT_EQ(root != nullptr, length == text.size() - 1);
    }
    auto whole = Load(text);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->GetChildrenCount(), 2);
}

}  // namespace
