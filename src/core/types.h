// Numeric types of the data model: checked 16-bit Integers, Singles, bounded tables, run-time errors.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace varigap {

// A run-time error as the user sees it reported: "Run-Time Error #" number ": " description.
// Operations that the program traps catch it in their outermost procedure.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, const std::string& description) : std::runtime_error(description), number_(number) {}
    int Number() const { return number_; }
    std::string Description() const { return what(); }

private:
    int number_;
};

// The classic error numbers and their descriptions.
enum ErrorNumber : int {
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrSubscriptOutOfRange = 9,
    kErrTypeMismatch = 13,
    kErrFileNotFound = 53,
    kErrDeviceIO = 57,
    kErrDiskFull = 61,
    kErrPermissionDenied = 70,
    kErrPathFileAccess = 75,
    kErrPathNotFound = 76,
};

std::string ErrorDescription(int number);
[[noreturn]] void RaiseError(int number);

// Integer: a 16-bit signed quantity. Every value stored in one is range-checked, so a
// position or count that leaves -32768..32767 (a sequence of more than 32767 bases, say)
// raises run-time error 6 instead of wrapping around. Arithmetic happens on int.
class Integer {
public:
    constexpr Integer() = default;
    template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
    constexpr Integer(T v) : v_(Check(v)) {}  // NOLINT: implicit by design

    constexpr operator int() const { return v_; }  // NOLINT

    Integer& operator+=(long long d) { return *this = Integer(static_cast<long long>(v_) + d); }
    Integer& operator-=(long long d) { return *this = Integer(static_cast<long long>(v_) - d); }
    Integer& operator++() { return *this += 1; }
    Integer& operator--() { return *this -= 1; }

private:
    template <class T>
    static constexpr int16_t Check(T v) {
        if constexpr (std::is_signed_v<T>) {
            if (v < -32768 || v > 32767) RaiseError(kErrOverflow);
        } else {
            if (v > 32767u) RaiseError(kErrOverflow);
        }
        return static_cast<int16_t>(v);
    }
    int16_t v_ = 0;
};

// Single: a 32-bit float. Values are computed in double and rounded here on every
// assignment, so thresholds and ties come out exactly as the program defines them.
using Single = float;
inline Single ToSingle(double v) { return static_cast<Single>(v); }

// Round to the nearest whole number, halves to the even neighbour (80.5 -> 80, 81.5 -> 82),
// and store it as an Integer (run-time error 6 outside the 16-bit range).
Integer RoundToInteger(double v);

// The length of a string as an Integer (run-time error 6 above 32767 characters).
inline Integer Len(std::string_view s) { return Integer(s.size()); }

// A fixed-size table with lower bound 0 and upper bound Upper; any other index is run-time
// error 9, as an index outside a declared array bound is. Its storage is made at the first
// access through a non-const table (an out-of-memory failure then is run-time error 7); until
// then every entry reads as a default value. A state declares tables for 63 templates of 127
// regions each, and most of them are never used.
template <class T, int Upper>
class Table {
public:
    static constexpr int kUpper = Upper;

    Table() = default;
    Table(const Table& other) : items_(other.items_ ? std::make_unique<Items>(*other.items_) : nullptr) {}
    Table& operator=(const Table& other) {
        if (this != &other) items_ = other.items_ ? std::make_unique<Items>(*other.items_) : nullptr;
        return *this;
    }
    Table(Table&&) noexcept = default;
    Table& operator=(Table&&) noexcept = default;

    T& operator[](long long i) {
        Check(i);
        if (!items_) items_ = std::make_unique<Items>();
        return (*items_)[static_cast<size_t>(i)];
    }
    const T& operator[](long long i) const {
        Check(i);
        return items_ ? (*items_)[static_cast<size_t>(i)] : Empty();
    }
    // Whether any entry was ever reached for writing.
    bool Allocated() const { return items_ != nullptr; }

private:
    using Items = std::array<T, Upper + 1>;

    static void Check(long long i) {
        if (i < 0 || i > Upper) RaiseError(kErrSubscriptOutOfRange);
    }
    // The value of every entry of a table without storage; never written.
    static const T& Empty() {
        static const T empty{};
        return empty;
    }

    std::unique_ptr<Items> items_;
};

}  // namespace varigap
