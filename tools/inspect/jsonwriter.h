// A small streaming JSON writer for the inspector. Objects are indented two spaces a level;
// arrays that hold only scalars stay on one line. Numbers get nine significant digits, and the
// non-finite ones are written as the strings "nan", "inf" and "-inf". The caller keeps the
// nesting balanced; Key must come before each value inside an object.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(const std::string& name);

    void Number(double value);
    void Int(int64_t value);
    void Bool(bool value);
    void String(const std::string& value);
    void Null();
    void Numbers(const float* values, size_t count);  // an array of numbers

    // Key followed by a value.
    template <typename T>
    void Member(const std::string& name, const T& value) {
        Key(name);
        Value(value);
    }
    void MemberNumbers(const std::string& name, const float* values, size_t count) {
        Key(name);
        Numbers(values, count);
    }

    // Ends the document with a newline.
    void Finish();

    static std::string FormatNumber(double value);
    static std::string Quote(const std::string& value);

private:
    void Value(double v) { Number(v); }
    void Value(float v) { Number(v); }
    void Value(int v) { Int(v); }
    void Value(int64_t v) { Int(v); }
    void Value(size_t v) { Int(static_cast<int64_t>(v)); }
    void Value(bool v) { Bool(v); }
    void Value(const std::string& v) { String(v); }
    void Value(const char* v) { String(v); }

    struct Level {
        bool isObject;
        bool empty = true;
        bool scalarsOnly = true;  // arrays: no object or array inside
    };
    void BeforeValue(bool container);
    void Newline(size_t depth);

    std::ostream& m_out;
    std::vector<Level> m_stack;
    bool m_afterKey = false;
};
