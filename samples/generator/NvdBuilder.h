#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace nuvisca::samples {

using Bytes = std::vector<std::uint8_t>;

inline void writeBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// Builds the bytes of a device recording: a 32-byte header and 16-byte records. The samples
// are made with it, and so are the recordings of the tests, benchmarks and fuzz seeds.
//
//   NvdBuilder().start(2013, 7, 15, 10, 0, 0).end(11, 0, 0)
//       .timeStamp(10, 0, 0, 0.7f, 0.4f, 0.2f)
//       .continuation(0.7f, 0.4f, 0.2f)
//       .writeTo(path);
//
// Defaults: tag "QM42", start 2013-07-15 10:00:00, end 11:00:00, device id 4901234567890.
// Times are written as BCD. The record count defaults to the number of records (at most
// 65535); a file without records needs recordCount() set to be accepted by the reader.
class NvdBuilder {
public:
    NvdBuilder() {
        tag("QM42").start(2013, 7, 15, 10, 0, 0).end(11, 0, 0).deviceId("4901234567890");
    }

    NvdBuilder& start(int year, int month, int day, int hour, int minute, int second) {
        return setBcd(4, {year - 2000, month, day, hour, minute, second});
    }
    NvdBuilder& end(int hour, int minute, int second) { return setBcd(10, {hour, minute, second}); }
    NvdBuilder& recordCount(std::uint16_t count) {
        count_ = count;
        return *this;
    }
    // Up to 13 bytes as given (letters, blanks and NULs included), the rest NUL.
    NvdBuilder& deviceId(std::string_view id) { return setText(15, 13, id); }
    // The four format tag bytes, for files of another kind.
    NvdBuilder& tag(std::string_view fourBytes) { return setText(0, 4, fourBytes); }

    NvdBuilder& timeStamp(int hour, int minute, int second, float rso2Fraction, float oxhb,
                          float dxhb) {
        return record(bcd(second), bcd(minute), bcd(hour), 0x00, rso2Fraction, oxhb, dxhb);
    }
    NvdBuilder& gap(int hour, int minute, int second, float rso2Fraction, float oxhb, float dxhb) {
        return record(bcd(second), bcd(minute), bcd(hour), 0x80, rso2Fraction, oxhb, dxhb);
    }
    NvdBuilder& continuation(float rso2Fraction, float oxhb, float dxhb) {
        return record(0xFF, 0xFF, 0xFF, 0x00, rso2Fraction, oxhb, dxhb);
    }
    // A record with its first four bytes (second, minute, hour, flag) exactly as given.
    NvdBuilder& record(std::uint8_t second, std::uint8_t minute, std::uint8_t hour,
                       std::uint8_t flag, float rso2Fraction, float oxhb, float dxhb) {
        for (const std::uint8_t byte : {second, minute, hour, flag}) {
            records_.push_back(byte);
        }
        for (const float value : {rso2Fraction, oxhb, dxhb}) {
            const auto bits = std::bit_cast<std::uint32_t>(value);
            for (int shift = 0; shift < 32; shift += 8) {
                records_.push_back(static_cast<std::uint8_t>(bits >> shift));
            }
        }
        return *this;
    }

    Bytes bytes() const {
        Bytes out(header_.begin(), header_.end());
        const std::size_t count = count_ >= 0 ? static_cast<std::size_t>(count_)
                                              : std::min<std::size_t>(records_.size() / 16, 0xFFFF);
        out[13] = static_cast<std::uint8_t>(count & 0xFF);
        out[14] = static_cast<std::uint8_t>(count >> 8);
        out.insert(out.end(), records_.begin(), records_.end());
        return out;
    }
    void writeTo(const std::filesystem::path& path) const { writeBytes(path, bytes()); }

    static std::uint8_t bcd(int value) {
        return static_cast<std::uint8_t>((value / 10) << 4 | value % 10);
    }

private:
    NvdBuilder& setBcd(std::size_t offset, std::initializer_list<int> values) {
        for (const int value : values) {
            header_[offset++] = bcd(value);
        }
        return *this;
    }
    NvdBuilder& setText(std::size_t offset, std::size_t length, std::string_view text) {
        for (std::size_t k = 0; k < length; ++k) {
            header_[offset + k] = k < text.size() ? static_cast<std::uint8_t>(text[k]) : 0;
        }
        return *this;
    }

    std::array<std::uint8_t, 32> header_{};
    Bytes records_;
    std::int32_t count_ = -1;  // -1: as many as the records
};

}  // namespace nuvisca::samples
