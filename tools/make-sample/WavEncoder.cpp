#include "tools/make-sample/WavEncoder.h"

namespace {

class LittleEndian {
public:
    explicit LittleEndian(std::vector<unsigned char>& out) : out_(out) {}
    void Tag(const char (&tag)[5]) {
        for (int i = 0; i < 4; ++i) {
            out_.push_back(static_cast<unsigned char>(tag[i]));
        }
    }
    void U16(std::uint32_t value) { Bytes(value, 2); }
    void U32(std::uint32_t value) { Bytes(value, 4); }

private:
    void Bytes(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            out_.push_back(static_cast<unsigned char>(value >> (8 * i)));
        }
    }
    std::vector<unsigned char>& out_;
};

}  // namespace

std::vector<unsigned char> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate,
                                     int channels) {
    constexpr std::uint32_t kBytesPerSample = 2;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
    const auto blockAlign = static_cast<std::uint32_t>(channels) * kBytesPerSample;
    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    LittleEndian le(out);
    le.Tag("RIFF");
    le.U32(36 + dataBytes);  // everything after this field
    le.Tag("WAVE");
    le.Tag("fmt ");
    le.U32(16);
    le.U16(1);  // PCM
    le.U16(static_cast<std::uint32_t>(channels));
    le.U32(static_cast<std::uint32_t>(sampleRate));
    le.U32(static_cast<std::uint32_t>(sampleRate) * blockAlign);
    le.U16(blockAlign);
    le.U16(16);
    le.Tag("data");
    le.U32(dataBytes);
    for (std::int16_t sample : samples) {
        le.U16(static_cast<std::uint16_t>(sample));
    }
    return out;
}
