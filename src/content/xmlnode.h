// The tree every XML content file (materials, scenes, camera bookmarks) is read into: one node
// per element with its name, its attributes as strings and its child elements in document
// order. Text, comments and declarations are dropped. The typed accessors turn attribute text
// into numbers and booleans in the "C" locale; a present value of the wrong kind is fatal, an
// absent one gives the caller's default. Files are untrusted: a missing or malformed file
// loads as null, and a tree nested deeper than kMaxXmlNodeDepth levels is a fatal error.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "math/vec3.h"

namespace tinyxml2 {
class XMLElement;
}

// The root element is level 1.
constexpr int kMaxXmlNodeDepth = 256;

class XMLNode {
public:
    explicit XMLNode(const std::string& name);
    ~XMLNode();
    XMLNode(const XMLNode&) = delete;
    XMLNode& operator=(const XMLNode&) = delete;

    // Parses the file (the path goes through PlatformResolvePath) and returns the tree of its
    // first element, or null when the file can't be read, isn't well-formed XML or has no
    // element; *problem (when given) then says which: "missing", "can't be read", "empty
    // file", "not well-formed XML (<tinyxml2 error> at line <n>)" or "holds no XML element".
    // Nesting too deep for the parser or for kMaxXmlNodeDepth is fatal, and the report names
    // the file and the line.
    static std::unique_ptr<XMLNode> LoadFromFile(const std::string& path,
                                                 std::string* problem = nullptr);

    // Copies a parsed element and everything below it. source names the file in reports.
    static std::unique_ptr<XMLNode> FromElement(const tinyxml2::XMLElement& element,
                                                const std::string& source);

    std::string GetName() const { return m_name; }

    int GetChildrenCount() const { return static_cast<int>(m_children.size()); }
    // The index must be below GetChildrenCount().
    XMLNode* GetChild(int index) const;
    // The first child whose name equals name exactly, or null.
    XMLNode* FindChild(const std::string& name) const;

    bool HasAttribute(const std::string& name) const;
    // The value as written, entities replaced.
    std::string GetAttribute(const std::string& name, const std::string& defaultValue) const;
    // Like scanf "%d": leading blanks skipped, trailing text ignored. A present value without a
    // leading int (empty, a word, out of int range) is fatal: "false && \"wrong format\"".
    int GetAttributeInt(const std::string& name, int defaultValue) const;
    // Like scanf "%f", with the same fatal rule.
    float GetAttributeFloat(const std::string& name, float defaultValue) const;
    // "true" and "1" are true, "false" and "0" false, in any letter case; any other present
    // value is fatal: "false && \"its not a bool\"".
    bool GetAttributeBool(const std::string& name, bool defaultValue) const;

    const std::map<std::string, std::string>& GetAttributes() const { return m_attributes; }

    // Building; the loader uses these, and nothing changes a tree once it is loaded.
    void SetAttribute(const std::string& name, const std::string& value);
    void AddChild(std::unique_ptr<XMLNode> child);
    // Where the node came from, for error reports: file and line, or "" and 0.
    void SetOrigin(std::shared_ptr<const std::string> source, int line);
    std::string DescribeOrigin() const;
    // The file as it was opened, and the element's line; "" and 0 when unknown.
    std::string GetSourceName() const { return m_source ? *m_source : std::string(); }
    int GetLine() const { return m_line; }

private:
    // Logs a line that names the file, then reports condition as fatal. expected says what the
    // value should have been ("a number").
    [[noreturn]] void ReportBadValue(const char* condition, int line, const std::string& name,
                                     const std::string& value, const char* expected) const;

    std::string m_name;
    std::map<std::string, std::string> m_attributes;
    std::vector<std::unique_ptr<XMLNode>> m_children;
    std::shared_ptr<const std::string> m_source;
    int m_line = 0;
};

// Three floats written "x;y;z", scanned like "%f;%f;%f" from the zero vector: each component
// the scan reaches is taken, the rest stay 0, so a short, empty or malformed text is no error.
// A semicolon must follow its number directly ("1 ; 2" gives (1, 0, 0)).
sm::Vec3 ParseVec3(const std::string& text);

// The components printed with "%f", the separator between them: (1, 2, 3) with ";" gives
// "1.000000;2.000000;3.000000".
std::string FormatVec3(const sm::Vec3& v, const std::string& separator);
