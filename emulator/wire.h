// Little-endian reads and writes on byte buffers, as the controllers and
// Windows lay out their structures. Every access is bounds-checked against
// the buffer it names: a field that does not fit reads as 0 and is not
// written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace emulator {

using Bytes = std::vector<uint8_t>;

// A view of bytes another owns: a request's buffer, or its command or data
// area, which each layer reads and answers in place. ConstByteSpan only
// reads. A vector converts to either, whole.
template <typename Byte>
class BasicByteSpan {
  public:
    BasicByteSpan() = default;
    BasicByteSpan(Byte* data, size_t size) : data_(data), size_(size) {}
    BasicByteSpan(Bytes& bytes) : data_(bytes.data()), size_(bytes.size()) {}  // NOLINT
    template <typename B = Byte, typename = std::enable_if_t<std::is_const_v<B>>>
    BasicByteSpan(const Bytes& bytes) : data_(bytes.data()), size_(bytes.size()) {}  // NOLINT
    template <typename B = Byte, typename = std::enable_if_t<std::is_const_v<B>>>
    BasicByteSpan(const BasicByteSpan<std::remove_const_t<B>>& span)  // NOLINT
        : data_(span.data()), size_(span.size()) {}

    Byte* data() const { return data_; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    Byte* begin() const { return data_; }
    Byte* end() const { return data_ + size_; }
    Byte& operator[](size_t i) const { return data_[i]; }
    // The `count` bytes from `offset`, cut where the span ends.
    BasicByteSpan subspan(size_t offset, size_t count = SIZE_MAX) const {
        const size_t start = offset < size_ ? offset : size_;
        return BasicByteSpan(data_ + start, count < size_ - start ? count : size_ - start);
    }

  private:
    Byte* data_ = nullptr;
    size_t size_ = 0;
};
using ByteSpan = BasicByteSpan<uint8_t>;
using ConstByteSpan = BasicByteSpan<const uint8_t>;

// Reads an unsigned little-endian field of `width` bytes (1..8).
inline uint64_t getLe(const uint8_t* data, size_t size, size_t offset, size_t width) {
    if (data == nullptr || width == 0 || width > 8 || offset > size || size - offset < width) {
        return 0;
    }
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value |= uint64_t{data[offset + i]} << (8 * i);
    return value;
}

// Writes the low `width` bytes (1..8) of `value` little-endian.
inline bool putLe(uint8_t* data, size_t size, size_t offset, size_t width, uint64_t value) {
    if (data == nullptr || width == 0 || width > 8 || offset > size || size - offset < width) {
        return false;
    }
    for (size_t i = 0; i < width; ++i)
        data[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    return true;
}

inline uint8_t get8(ConstByteSpan b, size_t offset) {
    return static_cast<uint8_t>(getLe(b.data(), b.size(), offset, 1));
}
inline uint16_t get16(ConstByteSpan b, size_t offset) {
    return static_cast<uint16_t>(getLe(b.data(), b.size(), offset, 2));
}
inline uint32_t get32(ConstByteSpan b, size_t offset) {
    return static_cast<uint32_t>(getLe(b.data(), b.size(), offset, 4));
}
inline void put8(ByteSpan b, size_t offset, uint64_t v) {
    putLe(b.data(), b.size(), offset, 1, v);
}
inline void put16(ByteSpan b, size_t offset, uint64_t v) {
    putLe(b.data(), b.size(), offset, 2, v);
}
inline void put32(ByteSpan b, size_t offset, uint64_t v) {
    putLe(b.data(), b.size(), offset, 4, v);
}
inline void put64(ByteSpan b, size_t offset, uint64_t v) {
    putLe(b.data(), b.size(), offset, 8, v);
}

// Copies `text` into the field [offset, offset + width), zero-filled, cut to
// the field (no terminator when the text fills it).
inline void putText(ByteSpan b, size_t offset, size_t width, const std::string& text) {
    if (offset > b.size() || b.size() - offset < width)
        return;
    std::memset(b.data() + offset, 0, width);
    std::memcpy(b.data() + offset, text.data(), text.size() < width ? text.size() : width);
}

// Reads a text field of at most `width` bytes, up to its first zero byte.
inline std::string getText(ConstByteSpan b, size_t offset, size_t width) {
    if (offset >= b.size())
        return std::string();
    size_t end = offset + (width < b.size() - offset ? width : b.size() - offset);
    size_t n = offset;
    while (n < end && b[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(b.data() + offset), n - offset);
}

// The bytes [offset, offset + count) of `b` as lower-case hex, cut where
// `b` ends.
inline std::string hexText(ConstByteSpan b, size_t offset, size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = offset; i < b.size() && i - offset < count; ++i) {
        hex += digits[b[i] >> 4];
        hex += digits[b[i] & 0xF];
    }
    return hex;
}

// Rounds a data length up to whole 512-byte sectors.
constexpr size_t roundToSectors(size_t length) {
    return (length + 511) / 512 * 512;
}

}  // namespace emulator
