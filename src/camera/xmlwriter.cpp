#include "camera/xmlwriter.h"

#include "base/assert.h"
#include "content/cnumeric.h"

namespace {

std::string EscapeAttribute(const std::string& value) {
    std::string escaped;
    escaped.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace

XmlWriter::XmlWriter(std::ostream& stream, int indentLevel)
    : m_stream(stream), m_indentLevel(indentLevel) {}

void XmlWriter::OpenElement(const std::string& name) {
    FinishStartTag();
    if (!m_elements.empty()) m_elements.back().hasChildren = true;
    WriteIndent();
    m_stream << '<' << name;
    m_elements.push_back({name, false});
    m_isElementBracketOpen = true;
    ++m_indentLevel;
}

void XmlWriter::WriteAttribute(const std::string& name, float value) {
    // The stream's default float form: six significant digits, fixed or exponent, whichever
    // is shorter; always with a decimal point, whatever the locale.
    WriteAttribute(name, FormatC("%g", static_cast<double>(value)));
}

void XmlWriter::WriteAttribute(const std::string& name, const std::string& value) {
    bool isElementBracketOpen = m_isElementBracketOpen;
    ASSERT(isElementBracketOpen == true);
    m_stream << ' ' << name << "=\"" << EscapeAttribute(value) << '"';
}

void XmlWriter::CloseElement() {
    ASSERT(!m_elements.empty());
    --m_indentLevel;
    const OpenTag& element = m_elements.back();
    if (element.hasChildren) {
        FinishStartTag();
        WriteIndent();
        m_stream << "</" << element.name << ">\n";
    } else {
        m_stream << " />\n";
        m_isElementBracketOpen = false;
    }
    m_elements.pop_back();
}

void XmlWriter::FinishStartTag() {
    if (!m_isElementBracketOpen) return;
    m_stream << ">\n";
    m_isElementBracketOpen = false;
}

void XmlWriter::WriteIndent() {
    for (int i = 0; i < m_indentLevel; ++i) m_stream << '\t';
}
