#include "NumberFormat.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Print(const char* szFormat, double f) {
    // "%f" of the largest double needs about 320 characters.
    char buffer[400];
    const int n = std::snprintf(buffer, sizeof buffer, szFormat, f);
    if (n < 0)
        return {};
    return std::string(buffer, std::size_t(n) < sizeof buffer ? std::size_t(n) : sizeof buffer - 1);
}

} // namespace

std::string FormatFixed(double f) {
    return Print("%f", f);
}

std::string FormatExp(double f) {
    std::string str = Print("%e", f);
    if (!std::isfinite(f))
        return str;
    // glibc writes at least two exponent digits; the netlist's form has at least three.
    const std::size_t e = str.find('e');
    if (e == std::string::npos || e + 2 > str.size())
        return str;
    const std::size_t nDigits = str.size() - (e + 2);
    if (nDigits < 3)
        str.insert(e + 2, 3 - nDigits, '0');
    return str;
}

std::string FormatInt(int n) {
    return std::to_string(n);
}

int TruncChoice(float f) {
    if (std::isnan(f))
        return 0;
    if (f >= 2.0e9f)
        return 2000000000;
    if (f <= -2.0e9f)
        return -2000000000;
    return static_cast<int>(f);
}
