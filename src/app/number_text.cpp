#include "app/number_text.h"

#include <cmath>
#include <cstdint>
#include <string>

// Written out here rather than with std::to_chars: the library's float formatting alone would
// make the program several times its size.
namespace app {
namespace {

std::wstring Digits(std::uint64_t value) {
    std::wstring text;
    do {
        text.insert(text.begin(), static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}

// The value rounded to `precision` significant digits: the digits, and the power of ten of the last one.
struct Decimal {
    std::uint64_t digits;
    int exponent;
};

// 10^power, exact up to 10^22; a float needs no more than 10^54.
double PowerOfTen(int power) {
    double result = 1;
    for (; power >= 22; power -= 22)
        result *= 1e22;
    static constexpr double kSmall[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10,
                                        1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21};
    return result * kSmall[power];
}

// value × 10^exponent; dividing by an exact power rounds once where multiplying by 10^-n would
// round twice.
double Scale(double value, int exponent) {
    return exponent >= 0 ? value * PowerOfTen(exponent) : value / PowerOfTen(-exponent);
}

Decimal Round(double value, int precision) {
    int exponent = static_cast<int>(std::floor(std::log10(value))) - precision + 1;
    double scaled = std::round(Scale(value, -exponent));
    if (scaled >= PowerOfTen(precision)) { // 9.99 rounded up to 10.0
        scaled = std::round(scaled / 10);
        ++exponent;
    }
    return {static_cast<std::uint64_t>(scaled), exponent};
}

float ValueOf(const Decimal& decimal) {
    return static_cast<float>(Scale(static_cast<double>(decimal.digits), decimal.exponent));
}

} // namespace

std::wstring NumberText(float value) {
    if (std::isnan(value)) return L"nan";
    if (std::isinf(value)) return value < 0 ? L"-inf" : L"inf";
    std::wstring sign = std::signbit(value) && value != 0 ? L"-" : L"";
    const double magnitude = std::fabs(static_cast<double>(value));
    if (magnitude == 0) return L"0";
    // Below 2^24 a float holds every whole number, and needs all of its digits.
    if (magnitude < 16777216.0 && magnitude == std::floor(magnitude))
        return sign + Digits(static_cast<std::uint64_t>(magnitude));

    Decimal decimal{};
    for (int precision = 1; precision <= 9; ++precision) {
        decimal = Round(magnitude, precision);
        if (ValueOf(decimal) == static_cast<float>(magnitude)) break;
    }
    while (decimal.digits % 10 == 0) { // 1.50 reads as 1.5
        decimal.digits /= 10;
        ++decimal.exponent;
    }
    std::wstring digits = Digits(decimal.digits);
    const int count = static_cast<int>(digits.size());
    const int leading = count + decimal.exponent; // digits before the decimal point
    if (leading > 9 || leading < -4) {            // far from 1: scientific, like "1e+20"
        const int power = leading - 1;
        std::wstring text = digits.substr(0, 1);
        if (count > 1) text += L"." + digits.substr(1);
        return sign + text + (power < 0 ? L"e-" : L"e+") + (std::abs(power) < 10 ? L"0" : L"") +
               Digits(static_cast<std::uint64_t>(std::abs(power)));
    }
    if (decimal.exponent >= 0)
        return sign + digits + std::wstring(static_cast<std::size_t>(decimal.exponent), L'0');
    if (leading > 0) return sign + digits.substr(0, leading) + L"." + digits.substr(leading);
    return sign + L"0." + std::wstring(static_cast<std::size_t>(-leading), L'0') + digits;
}

} // namespace app
