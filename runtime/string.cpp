// String: representation management, slicing and searching, and the exact number/text conversions.
#include "runtime/string.h"

#include <climits>
#include <cstdio>   // snprintf for "%i" and "%.17lg"
#include <cstdlib>  // malloc, free, strtod
#include <cstring>
#include <cwctype>  // towlower, towupper
#include <new>      // std::bad_alloc

#include "runtime/array.h"

String::Rep String::emptyRep_ = {INT32_MAX / 2, 0, {0}};

String::Rep* String::Allocate(int length) {
    if (length <= 0) return &emptyRep_;
    auto* rep = static_cast<Rep*>(std::malloc(sizeof(Rep) + sizeof(char16_t) * static_cast<size_t>(length)));
    if (!rep) throw std::bad_alloc();
    rep->refs = 1;
    rep->length = length;
    return rep;
}

void String::Retain() const noexcept {
    if (rep_ != &emptyRep_) ++rep_->refs;
}

void String::Release() noexcept {
    if (rep_ != &emptyRep_ && --rep_->refs == 0) std::free(rep_);
}

String::String() noexcept : rep_(&emptyRep_) {}
String::String(const String& other) noexcept : rep_(other.rep_) { Retain(); }
String::String(String&& other) noexcept : rep_(other.rep_) { other.rep_ = &emptyRep_; }
String& String::operator=(const String& other) noexcept {
    other.Retain();
    Release();
    rep_ = other.rep_;
    return *this;
}
String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        Release();
        rep_ = other.rep_;
        other.rep_ = &emptyRep_;
    }
    return *this;
}
String::~String() { Release(); }

String::String(const char16_t* units, int length) : rep_(Allocate(length)) {
    if (length > 0) std::memcpy(rep_->units, units, sizeof(char16_t) * static_cast<size_t>(length));
}

static int UnitLength(const char16_t* units) {
    int n = 0;
    while (units[n]) ++n;
    return n;
}

String::String(const char16_t* units) : String(units, UnitLength(units)) {}

String::String(const char* bytes, int length) : rep_(Allocate(length)) {
    for (int i = 0; i < length; ++i) rep_->units[i] = static_cast<unsigned char>(bytes[i]);
}

String::String(const char* bytes) : String(bytes, static_cast<int>(std::strlen(bytes))) {}

namespace {
std::string DecimalText(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%i", value);
    return buffer;
}

std::string FloatText(float value) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.17lg", static_cast<double>(value));
    std::string text = buffer;
    if (text.find('.') == std::string::npos && text.find('e') == std::string::npos) text += ".0";
    return text;
}
}  // namespace

String::String(int value) : String(DecimalText(value).c_str()) {}

String::String(float value) : String(FloatText(value).c_str()) {}

String String::FromChar(int unit) {
    char16_t u = static_cast<char16_t>(unit);
    return String(&u, 1);
}

String String::FromUtf8(const std::string& utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t n = utf8.size();
    for (size_t i = 0; i < n;) {
        unsigned c = b[i];
        if (c >= 0xE0 && c < 0xF0 && i + 2 < n && (b[i + 1] & 0xC0) == 0x80 && (b[i + 2] & 0xC0) == 0x80) {
            out.push_back(static_cast<char16_t>(((c & 15) << 12) | ((b[i + 1] & 63) << 6) | (b[i + 2] & 63)));
            i += 3;
        } else if (c >= 0xC0 && c < 0xE0 && i + 1 < n && (b[i + 1] & 0xC0) == 0x80) {
            out.push_back(static_cast<char16_t>(((c & 31) << 6) | (b[i + 1] & 63)));
            i += 2;
        } else {
            out.push_back(static_cast<char16_t>(c));
            ++i;
        }
    }
    return String(out.data(), static_cast<int>(out.size()));
}

String String::Slice(int from) const { return Slice(from, Length()); }

String String::Slice(int from, int to) const {
    const int length = Length();
    if (from < 0) {
        from += length;
        if (from < 0) from = 0;
    } else if (from > length) {
        from = length;
    }
    if (to < 0) {
        to += length;
    } else if (to > length) {
        to = length;
    }
    if (from >= to) return String();
    if (from == 0 && to == length) return *this;
    return String(rep_->units + from, to - from);
}

int String::Find(const String& what, int start) const {
    const int n = Length(), m = what.Length();
    if (start < 0) start = 0;
    for (int i = start; i + m <= n; ++i) {
        if (std::memcmp(rep_->units + i, what.rep_->units, sizeof(char16_t) * static_cast<size_t>(m)) == 0) return i;
    }
    return -1;
}

bool String::StartsWith(const String& prefix) const {
    return prefix.Length() <= Length() &&
           std::memcmp(rep_->units, prefix.rep_->units, sizeof(char16_t) * static_cast<size_t>(prefix.Length())) == 0;
}

bool String::EndsWith(const String& suffix) const {
    const int offset = Length() - suffix.Length();
    return offset >= 0 && std::memcmp(rep_->units + offset, suffix.rep_->units,
                                      sizeof(char16_t) * static_cast<size_t>(suffix.Length())) == 0;
}

Array<String> String::Split(const String& separator) const {
    const int n = Length();
    if (separator.Empty()) {
        Array<String> out(n);
        for (int i = 0; i < n; ++i) out[i] = String(rep_->units + i, 1);
        return out;
    }
    int count = 1;
    for (int i = Find(separator); i != -1; i = Find(separator, i + separator.Length())) ++count;
    Array<String> out(count);
    int start = 0, k = 0;
    for (int i = Find(separator); i != -1; i = Find(separator, start)) {
        out[k++] = Slice(start, i);
        start = i + separator.Length();
    }
    out[k] = Slice(start, n);
    return out;
}

String String::Join(const Array<String>& pieces) const {
    const int count = pieces.Length();
    if (count == 0) return String();
    if (count == 1) return pieces[0];
    int total = Length() * (count - 1);
    for (const String& piece : pieces) total += piece.Length();
    String out(Allocate(total));
    char16_t* p = out.rep_->units;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            std::memcpy(p, rep_->units, sizeof(char16_t) * static_cast<size_t>(Length()));
            p += Length();
        }
        std::memcpy(p, pieces[i].rep_->units, sizeof(char16_t) * static_cast<size_t>(pieces[i].Length()));
        p += pieces[i].Length();
    }
    return out;
}

String String::Replace(const String& find, const String& with) const {
    // NOTE: an empty find text has no occurrence to replace, so the text comes back unchanged.
    if (find.Empty() || Find(find) == -1) return *this;
    return with.Join(Split(find));
}

String String::ToLower() const {
    String out(Allocate(Length()));
    for (int i = 0; i < Length(); ++i) out.rep_->units[i] = static_cast<char16_t>(std::towlower(rep_->units[i]));
    return out;
}

String String::ToUpper() const {
    String out(Allocate(Length()));
    for (int i = 0; i < Length(); ++i) out.rep_->units[i] = static_cast<char16_t>(std::towupper(rep_->units[i]));
    return out;
}

int String::ToInt() const {
    // atoi's rules, with a defined result past the 32-bit range: the value saturates instead of being undefined.
    const int n = Length() < 63 ? Length() : 63;
    int i = 0;
    auto byteAt = [&](int k) { return static_cast<unsigned char>(rep_->units[k] & 0xFF); };
    while (i < n && (byteAt(i) == ' ' || (byteAt(i) >= '\t' && byteAt(i) <= '\r'))) ++i;
    bool negative = false;
    if (i < n && (byteAt(i) == '+' || byteAt(i) == '-')) negative = byteAt(i++) == '-';
    int64_t value = 0;
    for (; i < n && byteAt(i) >= '0' && byteAt(i) <= '9'; ++i) {
        value = value * 10 + (byteAt(i) - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1) value = static_cast<int64_t>(INT32_MAX) + 1;
    }
    if (negative) return static_cast<int>(-value);
    return value > INT32_MAX ? INT32_MAX : static_cast<int>(value);
}

float String::ToFloat() const {
    std::string bytes = Slice(0, 63).ToBytes();
    return static_cast<float>(std::strtod(bytes.c_str(), nullptr));
}

std::string String::ToUtf8() const {
    std::string out;
    out.reserve(static_cast<size_t>(Length()));
    for (int i = 0; i < Length(); ++i) {
        unsigned c = rep_->units[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 63)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 63)));
            out.push_back(static_cast<char>(0x80 | (c & 63)));
        }
    }
    return out;
}

std::string String::ToBytes() const {
    std::string out(static_cast<size_t>(Length()), '\0');
    for (int i = 0; i < Length(); ++i) out[static_cast<size_t>(i)] = static_cast<char>(rep_->units[i] & 0xFF);
    return out;
}

bool String::operator==(const String& other) const noexcept {
    if (rep_ == other.rep_) return true;
    return Length() == other.Length() &&
           std::memcmp(rep_->units, other.rep_->units, sizeof(char16_t) * static_cast<size_t>(Length())) == 0;
}

int String::Compare(const String& other) const noexcept {
    const int n = Length() < other.Length() ? Length() : other.Length();
    for (int i = 0; i < n; ++i) {
        if (rep_->units[i] != other.rep_->units[i]) return rep_->units[i] - other.rep_->units[i];
    }
    return Length() - other.Length();
}

String String::operator+(const String& other) const {
    if (other.Empty()) return *this;
    if (Empty()) return other;
    String out(Allocate(Length() + other.Length()));
    std::memcpy(out.rep_->units, rep_->units, sizeof(char16_t) * static_cast<size_t>(Length()));
    std::memcpy(out.rep_->units + Length(), other.rep_->units, sizeof(char16_t) * static_cast<size_t>(other.Length()));
    return out;
}

String operator+(const char* left, const String& right) { return String(left) + right; }
