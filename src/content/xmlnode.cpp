#include "content/xmlnode.h"

#include <tinyxml2.h>

#include "base/assert.h"
#include "base/log.h"
#include "content/cnumeric.h"
#include "content/fileutils.h"
#include "platform/filesystem.h"

namespace {

// Reports carry at most this much of an offending value.
constexpr size_t kQuotedValueLength = 64;

[[noreturn]] void ReportTooDeep(const std::string& source, int line, const std::string& limit) {
    ReportFatal(source + ", line " + std::to_string(line) + ": XML elements nested too deeply (" +
                limit + ")");
}

std::unique_ptr<XMLNode> Build(const tinyxml2::XMLElement& element,
                               const std::shared_ptr<const std::string>& source, int depth) {
    if (depth > kMaxXmlNodeDepth) {
        ReportTooDeep(*source, element.GetLineNum(),
                      "more than " + std::to_string(kMaxXmlNodeDepth) + " levels");
    }
    const char* name = element.Name();
    auto node = std::make_unique<XMLNode>(name ? name : "");
    node->SetOrigin(source, element.GetLineNum());
    for (const tinyxml2::XMLAttribute* a = element.FirstAttribute(); a; a = a->Next()) {
        node->SetAttribute(a->Name(), a->Value());
    }
    for (const tinyxml2::XMLElement* child = element.FirstChildElement(); child;
         child = child->NextSiblingElement()) {
        node->AddChild(Build(*child, source, depth + 1));
    }
    return node;
}

std::string DescribeLoadError(const tinyxml2::XMLDocument& document) {
    switch (document.ErrorID()) {
        case tinyxml2::XML_ERROR_FILE_NOT_FOUND:
            return "missing";
        case tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED:
        case tinyxml2::XML_ERROR_FILE_READ_ERROR:
            return "can't be read";
        case tinyxml2::XML_ERROR_EMPTY_DOCUMENT:
            return "empty file";
        default:
            return std::string("not well-formed XML (") + document.ErrorName() + " at line " +
                   std::to_string(document.ErrorLineNum()) + ")";
    }
}

std::string ToLowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

XMLNode::XMLNode(const std::string& name) : m_name(name) {}

XMLNode::~XMLNode() = default;

std::unique_ptr<XMLNode> XMLNode::LoadFromFile(const std::string& path, std::string* problem) {
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    const std::string resolved = PlatformResolvePath(path);
    if (document.LoadFile(resolved.c_str()) != tinyxml2::XML_SUCCESS) {
        if (document.ErrorID() == tinyxml2::XML_ELEMENT_DEPTH_EXCEEDED) {
            ReportTooDeep(path, document.ErrorLineNum(), "beyond the XML parser's limit");
        }
        if (problem) *problem = DescribeLoadError(document);
        return nullptr;
    }
    const tinyxml2::XMLElement* root = document.FirstChildElement();
    if (!root) {
        if (problem) *problem = "holds no XML element";
        return nullptr;
    }
    return FromElement(*root, path);
}

std::unique_ptr<XMLNode> XMLNode::FromElement(const tinyxml2::XMLElement& element,
                                              const std::string& source) {
    return Build(element, std::make_shared<const std::string>(source), 1);
}

XMLNode* XMLNode::GetChild(int position) const {
    // A negative position wraps to a value past any count.
    const size_t index = static_cast<size_t>(position);
    ASSERT(index < m_children.size());
    return m_children[index].get();
}

XMLNode* XMLNode::FindChild(const std::string& name) const {
    for (const auto& child : m_children) {
        if (child->m_name == name) return child.get();
    }
    return nullptr;
}

bool XMLNode::HasAttribute(const std::string& name) const { return m_attributes.count(name) != 0; }

std::string XMLNode::GetAttribute(const std::string& name, const std::string& defaultValue) const {
    auto it = m_attributes.find(name);
    return it == m_attributes.end() ? defaultValue : it->second;
}

int XMLNode::GetAttributeInt(const std::string& name, int defaultValue) const {
    auto it = m_attributes.find(name);
    if (it == m_attributes.end()) return defaultValue;
    int value = 0;
    if (!ScanIntC(it->second.c_str(), &value)) {
        ReportBadValue("false && \"wrong format\"", __LINE__, name, it->second, "a number");
    }
    return value;
}

float XMLNode::GetAttributeFloat(const std::string& name, float defaultValue) const {
    auto it = m_attributes.find(name);
    if (it == m_attributes.end()) return defaultValue;
    float value = 0.0f;
    if (!ScanFloatC(it->second.c_str(), &value)) {
        ReportBadValue("false && \"wrong format\"", __LINE__, name, it->second, "a number");
    }
    return value;
}

bool XMLNode::GetAttributeBool(const std::string& name, bool defaultValue) const {
    auto it = m_attributes.find(name);
    if (it == m_attributes.end()) return defaultValue;
    const std::string lower = ToLowerAscii(it->second);
    if (lower == "true" || lower == "1") return true;
    if (lower == "false" || lower == "0") return false;
    ReportBadValue("false && \"its not a bool\"", __LINE__, name, it->second, "a boolean");
}

void XMLNode::SetAttribute(const std::string& name, const std::string& value) {
    m_attributes[name] = value;
}

void XMLNode::AddChild(std::unique_ptr<XMLNode> child) { m_children.push_back(std::move(child)); }

void XMLNode::SetOrigin(std::shared_ptr<const std::string> source, int line) {
    m_source = std::move(source);
    m_line = line;
}

std::string XMLNode::DescribeOrigin() const {
    if (!m_source) return std::string();
    return *m_source + ", line " + std::to_string(m_line);
}

void XMLNode::ReportBadValue(const char* condition, int line, const std::string& name,
                             const std::string& value, const char* expected) const {
    std::string quoted =
        value.size() > kQuotedValueLength ? value.substr(0, kQuotedValueLength) + "..." : value;
    // The report below names the file as it was opened; the log names it as content.
    if (m_source) {
        LogMessage("%s: line %d: attribute %s=\"%s\" of element %s is not %s",
                   ContentFileName(*m_source).c_str(), m_line, name.c_str(), quoted.c_str(),
                   m_name.c_str(), expected);
    }
    std::string where = DescribeOrigin();
    if (!where.empty()) where += ": ";
    ReportFatal(FormatAssertionFailure(condition, __FILE__, line) + " (" + where + "element " +
                m_name + ", attribute " + name + "=\"" + quoted + "\")");
}

sm::Vec3 ParseVec3(const std::string& text) {
    float components[3] = {0.0f, 0.0f, 0.0f};
    const char* cursor = text.c_str();
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (*cursor != ';') break;
            ++cursor;
        }
        if (!ScanFloatC(cursor, &components[i], &cursor)) break;
    }
    return sm::Vec3(components[0], components[1], components[2]);
}

std::string FormatVec3(const sm::Vec3& v, const std::string& separator) {
    return FormatC("%f%s%f%s%f", static_cast<double>(v.x), separator.c_str(),
                   static_cast<double>(v.y), separator.c_str(), static_cast<double>(v.z));
}
