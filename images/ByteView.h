// Little-endian fields of an untrusted file held in memory: every read is checked against
// the bytes there are, and an offset past them reads as absent, never as memory beyond.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteView {
public:
    ByteView(const unsigned char* data, std::size_t length) : data_(data), length_(length) {}

    std::size_t Length() const { return length_; }
    const unsigned char* At(std::size_t offset) const { return data_ + offset; }
    // Whether `count` bytes from `offset` are there, without overflowing.
    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= length_ && count <= length_ - offset;
    }
    // Each of these reads only when Has(offset, its size); else it gives 0.
    std::uint8_t U8(std::size_t offset) const { return Has(offset, 1) ? data_[offset] : 0; }
    std::uint16_t U16(std::size_t offset) const {
        return Has(offset, 2) ? static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8)
                              : 0;
    }
    std::uint32_t U32(std::size_t offset) const {
        if (!Has(offset, 4)) {
            return 0;
        }
        return std::uint32_t{data_[offset]} | std::uint32_t{data_[offset + 1]} << 8 |
               std::uint32_t{data_[offset + 2]} << 16 | std::uint32_t{data_[offset + 3]} << 24;
    }

private:
    const unsigned char* data_;
    std::size_t length_;
};
