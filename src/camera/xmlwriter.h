// Writes indented XML onto a stream, one element at a time: OpenElement, any attributes while
// its start tag is open, then CloseElement. One tab per level; an element without children
// closes itself on its start line ("<a x=\"1\" />"), one with children gets its own end line at
// its own indent. Attribute values are escaped; names are written as given. Nothing is
// buffered, and unclosed elements are left open when the writer goes away.
#pragma once

#include <ostream>
#include <string>
#include <vector>

class XmlWriter {
public:
    // indentLevel tabs go before the first element.
    XmlWriter(std::ostream& stream, int indentLevel);

    void OpenElement(const std::string& name);
    // Only while the start tag of the innermost element is open, that is before its first
    // child: otherwise fatal ("isElementBracketOpen == true").
    void WriteAttribute(const std::string& name, float value);
    void WriteAttribute(const std::string& name, const std::string& value);
    // Closes the innermost open element; fatal when none is open.
    void CloseElement();

private:
    struct OpenTag {
        std::string name;
        bool hasChildren;
    };

    void FinishStartTag();
    void WriteIndent();

    std::ostream& m_stream;
    int m_indentLevel;
    bool m_isElementBracketOpen = false;
    std::vector<OpenTag> m_elements;
};
