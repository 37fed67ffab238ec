#include "json_writer.hpp"

#include "text.hpp"

#include <cstdio>

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!needComma_.empty()) {
        if (needComma_.back()) out_ += ',';
        needComma_.back() = true;
    }
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    out_ += '{';
    needComma_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    needComma_.pop_back();
    out_ += '}';
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    out_ += '[';
    needComma_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    needComma_.pop_back();
    out_ += ']';
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    escape(name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view utf8) {
    beforeValue();
    escape(utf8);
    return *this;
}

JsonWriter& JsonWriter::value(std::wstring_view utf16) {
    return value(std::string_view(toUtf8(utf16)));
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    out_ += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::number_(std::int64_t number) {
    beforeValue();
    out_ += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    out_ += "null";
    return *this;
}

void JsonWriter::escape(std::string_view utf8) {
    out_ += '"';
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
            out_ += buffer;
        } else {
            out_ += c; // UTF-8 bytes pass through untouched
        }
    }
    out_ += '"';
}
