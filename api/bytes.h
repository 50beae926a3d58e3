// Little-endian access to byte buffers: the one way the library builds and
// reads the packets, replies and records it exchanges with the drivers,
// the controllers and Windows.
//
// Every access names the buffer's size; a field that does not lie wholly
// inside the buffer is never touched: a put writes nothing and returns
// false, a get returns 0 (and false through the checked form).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace bytes {

// True when `width` bytes at `offset` lie inside a buffer of `size` bytes.
constexpr bool Fits(size_t size, size_t offset, size_t width) {
    return offset <= size && width <= size - offset;
}

// Writes the low `width` bytes of `value` (width 1 to 8).
inline bool PutLe(uint8_t* buf, size_t size, size_t offset, uint64_t value, size_t width) {
    if (buf == nullptr || width > 8 || !Fits(size, offset, width))
        return false;
    for (size_t i = 0; i < width; ++i)
        buf[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    return true;
}

// Reads `width` bytes (1 to 8) into *value; false (and *value 0) when the
// field lies outside the buffer.
inline bool GetLe(const uint8_t* buf, size_t size, size_t offset, size_t width, uint64_t* value) {
    uint64_t result = 0;
    bool ok = buf != nullptr && width <= 8 && Fits(size, offset, width);
    if (ok) {
        for (size_t i = 0; i < width; ++i)
            result |= uint64_t{buf[offset + i]} << (8 * i);
    }
    if (value != nullptr)
        *value = result;
    return ok;
}

inline bool PutU8(uint8_t* buf, size_t size, size_t offset, uint8_t value) {
    return PutLe(buf, size, offset, value, 1);
}
inline bool PutU16(uint8_t* buf, size_t size, size_t offset, uint16_t value) {
    return PutLe(buf, size, offset, value, 2);
}
inline bool PutU32(uint8_t* buf, size_t size, size_t offset, uint32_t value) {
    return PutLe(buf, size, offset, value, 4);
}
inline bool PutU64(uint8_t* buf, size_t size, size_t offset, uint64_t value) {
    return PutLe(buf, size, offset, value, 8);
}

inline uint8_t GetU8(const uint8_t* buf, size_t size, size_t offset) {
    uint64_t v = 0;
    GetLe(buf, size, offset, 1, &v);
    return static_cast<uint8_t>(v);
}
inline uint16_t GetU16(const uint8_t* buf, size_t size, size_t offset) {
    uint64_t v = 0;
    GetLe(buf, size, offset, 2, &v);
    return static_cast<uint16_t>(v);
}
inline uint32_t GetU32(const uint8_t* buf, size_t size, size_t offset) {
    uint64_t v = 0;
    GetLe(buf, size, offset, 4, &v);
    return static_cast<uint32_t>(v);
}
inline uint64_t GetU64(const uint8_t* buf, size_t size, size_t offset) {
    uint64_t v = 0;
    GetLe(buf, size, offset, 8, &v);
    return v;
}

// Copies `count` raw bytes into the buffer at `offset`.
inline bool PutBytes(uint8_t* buf, size_t size, size_t offset, const void* src, size_t count) {
    if (buf == nullptr || (src == nullptr && count != 0) || !Fits(size, offset, count)) {
        return false;
    }
    if (count != 0)
        std::memcpy(buf + offset, src, count);
    return true;
}

// Copies `count` raw bytes out of the buffer at `offset`.
inline bool GetBytes(const uint8_t* buf, size_t size, size_t offset, void* dst, size_t count) {
    if (buf == nullptr || (dst == nullptr && count != 0) || !Fits(size, offset, count)) {
        return false;
    }
    if (count != 0)
        std::memcpy(dst, buf + offset, count);
    return true;
}

// Bounded C-string copy: copies at most `srcMax` characters of `src` (which
// need not be NUL-terminated within them) and never more than dstSize - 1,
// always terminates `dst` when dstSize > 0. Returns the characters copied.
inline size_t CopyText(char* dst, size_t dstSize, const char* src, size_t srcMax = SIZE_MAX) {
    if (dst == nullptr || dstSize == 0)
        return 0;
    size_t n = 0;
    if (src != nullptr) {
        while (n < srcMax && n < dstSize - 1 && src[n] != '\0')
            ++n;
        std::memcpy(dst, src, n);
    }
    dst[n] = '\0';
    return n;
}

// Appends `src` to the NUL-terminated text in `dst` (dstSize bytes),
// truncating; returns false when something was cut off.
inline bool AppendText(char* dst, size_t dstSize, const char* src) {
    if (dst == nullptr || dstSize == 0)
        return false;
    size_t used = 0;
    while (used < dstSize - 1 && dst[used] != '\0')
        ++used;
    if (src == nullptr)
        return true;
    size_t copied = CopyText(dst + used, dstSize - used, src);
    return src[copied] == '\0';
}

}  // namespace bytes
