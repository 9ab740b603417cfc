// String: immutable text of 16-bit code units, shared by reference.
// Depends on nothing but the C++ library. Every piece of text in the game and its framework is a String:
// screen texts, asset paths and the progress record, which is written and read back through the exact
// number/text conversions below.
// NOTE: a representation is one allocation (header and code units together); copies share it, and one
// static representation stands for every empty text, so the empty text never allocates.
#pragma once

#include <cstdint>  // int32_t
#include <string>   // std::string for UTF-8 output and literals

template <class T> class Array;

class String {
public:
    String() noexcept;
    String(const String& other) noexcept;
    String(String&& other) noexcept;
    String& operator=(const String& other) noexcept;
    String& operator=(String&& other) noexcept;
    ~String();

    // Text from 16-bit code units.
    String(const char16_t* units, int length);
    // Text from a NUL-terminated literal of 16-bit code units.
    String(const char16_t* units);
    // Text from 8-bit text: each byte becomes one code unit (0..255), nothing is decoded.
    String(const char* bytes);
    String(const char* bytes, int length);
    // Decimal text as the C format "%i" prints it.
    explicit String(int value);
    // Text of a float as "%.17lg" of the widened value, with ".0" appended when neither '.' nor 'e' appears.
    explicit String(float value);

    // A text of one code unit.
    static String FromChar(int unit);
    // Decodes UTF-8 text (well-formed input expected; each byte of a malformed sequence becomes one unit).
    static String FromUtf8(const std::string& utf8);

    int Length() const noexcept { return rep_->length; }
    bool Empty() const noexcept { return rep_->length == 0; }
    // Code unit at index (unchecked; callers keep 0 <= index < Length()).
    int operator[](int index) const noexcept { return rep_->units[index]; }
    const char16_t* Data() const noexcept { return rep_->units; }

    String Slice(int from) const;
    String Slice(int from, int to) const;
    Array<String> Split(const String& separator) const;
    String Join(const Array<String>& pieces) const;
    String Replace(const String& find, const String& with) const;
    // Index of the first occurrence at or after start, or -1.
    int Find(const String& what, int start = 0) const;
    bool Contains(const String& what) const { return Find(what) != -1; }
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    String ToLower() const;
    String ToUpper() const;

    // Integer value of the leading decimal number (atoi rules over the first 63 code units, each narrowed to its
    // low byte); 0 when there is none. A number beyond the 32-bit range saturates at INT32_MIN / INT32_MAX.
    int ToInt() const;
    // Floating value of the leading number (strtod rules over the first 63 code units); 0 when there is none.
    float ToFloat() const;
    // UTF-8 encoding, each code unit on its own (below 128 one byte, below 2048 two, else three).
    std::string ToUtf8() const;
    // Each code unit narrowed to its low byte.
    std::string ToBytes() const;

    bool operator==(const String& other) const noexcept;
    bool operator!=(const String& other) const noexcept { return !(*this == other); }
    // Orders by code units, then by length.
    int Compare(const String& other) const noexcept;
    bool operator<(const String& other) const noexcept { return Compare(other) < 0; }
    String operator+(const String& other) const;
    String& operator+=(const String& other) { return *this = *this + other; }

    // True when both handles share one representation (used by tests of sharing).
    bool SharesWith(const String& other) const noexcept { return rep_ == other.rep_; }

private:
    struct Rep {
        int32_t refs;
        int32_t length;
        char16_t units[1];
    };
    static Rep emptyRep_;
    static Rep* Allocate(int length);
    explicit String(Rep* rep) noexcept : rep_(rep) {}
    void Retain() const noexcept;
    void Release() noexcept;

    Rep* rep_;
};

String operator+(const char* left, const String& right);
