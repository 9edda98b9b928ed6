#include "jsonwriter.h"

#include <cmath>
#include <cstdio>

std::string JsonWriter::FormatNumber(double value) {
    if (std::isnan(value)) return "\"nan\"";
    if (std::isinf(value)) return value > 0 ? "\"inf\"" : "\"-inf\"";
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string JsonWriter::Quote(const std::string& value) {
    std::string out = "\"";
    for (unsigned char c : value) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\u%04x", c);
                    out += esc;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

void JsonWriter::Newline(size_t depth) {
    m_out << '\n';
    for (size_t i = 0; i < depth; ++i) m_out << "  ";
}

void JsonWriter::BeforeValue(bool container) {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_stack.empty()) return;
    Level& level = m_stack.back();
    if (container) level.scalarsOnly = false;
    if (!level.empty) m_out << (level.scalarsOnly ? ", " : ",");
    if (!level.scalarsOnly) Newline(m_stack.size());
    level.empty = false;
}

void JsonWriter::BeginObject() {
    BeforeValue(true);
    m_out << '{';
    m_stack.push_back({true});
}

void JsonWriter::EndObject() {
    bool empty = m_stack.back().empty;
    m_stack.pop_back();
    if (!empty) Newline(m_stack.size());
    m_out << '}';
}

void JsonWriter::BeginArray() {
    BeforeValue(true);
    m_out << '[';
    m_stack.push_back({false});
}

void JsonWriter::EndArray() {
    Level level = m_stack.back();
    m_stack.pop_back();
    if (!level.empty && !level.scalarsOnly) Newline(m_stack.size());
    m_out << ']';
}

void JsonWriter::Key(const std::string& name) {
    Level& level = m_stack.back();
    if (!level.empty) m_out << ',';
    Newline(m_stack.size());
    level.empty = false;
    m_out << Quote(name) << ": ";
    m_afterKey = true;
}

void JsonWriter::Number(double value) {
    BeforeValue(false);
    m_out << FormatNumber(value);
}

void JsonWriter::Int(int64_t value) {
    BeforeValue(false);
    m_out << value;
}

void JsonWriter::Bool(bool value) {
    BeforeValue(false);
    m_out << (value ? "true" : "false");
}

void JsonWriter::String(const std::string& value) {
    BeforeValue(false);
    m_out << Quote(value);
}

void JsonWriter::Null() {
    BeforeValue(false);
    m_out << "null";
}

void JsonWriter::Numbers(const float* values, size_t count) {
    BeginArray();
    for (size_t i = 0; i < count; ++i) Number(values[i]);
    EndArray();
}

void JsonWriter::Finish() { m_out << '\n'; }
