// Number-to-text conversion: every number and caption the program draws is UTF-16
// text. Header-only, below the board and the panels that all draw numbers.
#pragma once

#include <charconv>
#include <sstream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <typeinfo>

#if defined(__GNUG__)
#include <cxxabi.h>

#include <cstdlib>
#endif

// Thrown by stringify when its string stream fails (only when memory runs out).
class BadConversion : public std::runtime_error {
public:
    explicit BadConversion(const std::string& message) : std::runtime_error(message) {}
};

// Widens 8-bit text one byte to one code unit; only ASCII is ever passed.
inline std::u16string toWideText(const std::string& text) {
    std::u16string wide(text.size(), u' ');
    for (std::size_t i = 0; i < text.size(); ++i) {
        wide[i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
    }
    return wide;
}

// The readable name of T that run-time type information gives ("int" for int).
template <typename T>
std::string readableTypeName() {
    const char* raw = typeid(T).name();
#if defined(__GNUG__)
    int status = 0;
    char* demangled = abi::__cxa_demangle(raw, nullptr, nullptr, &status);
    if (status == 0 && demangled != nullptr) {
        std::string name(demangled);
        std::free(demangled);
        return name;
    }
#endif
    return raw;
}

// Whole numbers that a stream writes as digits (not bool, not the character types).
template <typename T>
constexpr bool writtenAsDigits =
    std::is_same_v<T, short> || std::is_same_v<T, unsigned short> || std::is_same_v<T, int> ||
    std::is_same_v<T, unsigned int> || std::is_same_v<T, long> ||
    std::is_same_v<T, unsigned long> || std::is_same_v<T, long long> ||
    std::is_same_v<T, unsigned long long>;

// Classic formatting: decimal, a leading "-" for negatives, no grouping or padding.
// Whole numbers are written directly, as the stream would write them: the board draws
// its numbers every frame, and making a stream each time costs more than the rest of
// a frame that changes nothing.
template <typename T>
std::u16string stringify(const T& value) {
    if constexpr (writtenAsDigits<T>) {
        char digits[24];
        const auto written = std::to_chars(digits, digits + sizeof digits, value);
        return std::u16string(digits, written.ptr);
    }
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    if (stream.fail()) {
        throw BadConversion(std::string("stringify(") + readableTypeName<T>() + ")");
    }
    return toWideText(stream.str());
}
