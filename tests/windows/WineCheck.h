#pragma once
// A very small check harness for the programs that run under Wine (no
// GoogleTest there). Checks count and report failures and go on; a test
// case is a function run by RunCase, which also catches exceptions.
// WineCheckSummary() prints "N passed, N failed" and gives the exit code.

#include <cstdio>
#include <exception>
#include <string>

namespace stallmark::wine {

inline int& Passed() {
    static int n = 0;
    return n;
}
inline int& Failed() {
    static int n = 0;
    return n;
}

inline bool Record(bool ok, const char* expression, const char* file, int line, const std::string& detail = {}) {
    if (ok) {
        ++Passed();
    } else {
        ++Failed();
        std::printf("%s:%d: FAILED: %s%s%s\n", file, line, expression, detail.empty() ? "" : "  -- ", detail.c_str());
        std::fflush(stdout);
    }
    return ok;
}

// Printable form of a byte string: other bytes as \xHH.
inline std::string Show(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        }
    }
    return out + "\"";
}

template <typename Body>
void RunCase(const char* name, Body body) {
    std::printf("[ RUN  ] %s\n", name);
    std::fflush(stdout);
    const int failedBefore = Failed();
    try {
        body();
    } catch (const std::exception& e) {
        Record(false, "no exception", name, 0, e.what());
    } catch (...) {
        Record(false, "no exception", name, 0, "unknown exception");
    }
    std::printf("[ %s ] %s\n", Failed() == failedBefore ? " OK " : "FAIL", name);
    std::fflush(stdout);
}

inline int WineCheckSummary() {
    std::printf("%d passed, %d failed\n", Passed(), Failed());
    return Failed() == 0 && Passed() > 0 ? 0 : 1;
}

}  // namespace stallmark::wine

#define CHECK(cond) ::stallmark::wine::Record(static_cast<bool>(cond), #cond, __FILE__, __LINE__)
// Equality of two byte strings (or anything convertible to std::string), showing both on failure.
#define CHECK_BYTES(actual, expected)                                                                              \
    do {                                                                                                           \
        const std::string check_a_ = (actual);                                                                     \
        const std::string check_e_ = (expected);                                                                   \
        ::stallmark::wine::Record(check_a_ == check_e_, #actual " == " #expected, __FILE__, __LINE__,              \
                                  ::stallmark::wine::Show(check_a_) + " vs " + ::stallmark::wine::Show(check_e_)); \
    } while (0)
#define CHECK_THROWS(statement, Exception)                                                              \
    do {                                                                                                \
        bool check_thrown_ = false;                                                                     \
        try {                                                                                           \
            statement;                                                                                  \
        } catch (const Exception&) {                                                                    \
            check_thrown_ = true;                                                                       \
        }                                                                                               \
        ::stallmark::wine::Record(check_thrown_, #statement " throws " #Exception, __FILE__, __LINE__); \
    } while (0)
