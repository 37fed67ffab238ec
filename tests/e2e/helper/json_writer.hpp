#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Streaming writer: callers emit fields into whatever object is open, so a window's
// fields can be shared between commands that add their own extras around them.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view utf8);
    JsonWriter& value(std::wstring_view utf16);
    // Without these, string literals would silently pick the bool overload.
    JsonWriter& value(const char* utf8) { return value(std::string_view(utf8)); }
    JsonWriter& value(const wchar_t* utf16) { return value(std::wstring_view(utf16)); }
    JsonWriter& value(const std::string& utf8) { return value(std::string_view(utf8)); }
    JsonWriter& value(const std::wstring& utf16) { return value(std::wstring_view(utf16)); }
    JsonWriter& value(bool flag);
    template <std::integral T>
    requires(!std::same_as<T, bool>) JsonWriter& value(T number) {
        return number_(static_cast<std::int64_t>(number));
    }
    JsonWriter& null();

    template <typename T>
    JsonWriter& field(std::string_view name, T&& v) {
        key(name);
        return value(std::forward<T>(v));
    }
    JsonWriter& nullField(std::string_view name) {
        key(name);
        return null();
    }

    // Finished document, newline-terminated.
    std::string finish() const { return out_ + "\n"; }

private:
    JsonWriter& number_(std::int64_t number);
    void beforeValue();
    void escape(std::string_view utf8);

    std::string out_;
    std::vector<bool> needComma_;
    bool afterKey_ = false;
};
