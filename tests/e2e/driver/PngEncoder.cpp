// PNG encoding without a compressor: screenshots are small and only need to be readable.
#include "driver/PngEncoder.h"

#include <cstring>

#include "driver/ScreenImage.h"

namespace e2e {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kMaxStoredBlock = 65535;
constexpr uint8_t kColourTypeRgb = 2;

void PutBigEndian(std::vector<uint8_t>* out, uint32_t value)
{
    out->push_back(static_cast<uint8_t>(value >> 24));
    out->push_back(static_cast<uint8_t>(value >> 16));
    out->push_back(static_cast<uint8_t>(value >> 8));
    out->push_back(static_cast<uint8_t>(value));
}

void PutChunk(std::vector<uint8_t>* out, const char type[4], const std::vector<uint8_t>& data)
{
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    PutBigEndian(out, PngEncoder::Crc32(out->data() + typeAt, 4 + data.size()));
}

// The zlib stream: header, stored blocks of at most 65535 bytes, Adler-32 of the raw data.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t length = raw.size() - at < kMaxStoredBlock ? raw.size() - at : kMaxStoredBlock;
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    PutBigEndian(&out, PngEncoder::Adler32(raw.data(), raw.size()));
    return out;
}

} // namespace

uint32_t PngEncoder::Crc32(const uint8_t* data, size_t size, uint32_t crc)
{
    static uint32_t table[256];
    static bool filled = false;
    if (!filled) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        filled = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t PngEncoder::Adler32(const uint8_t* data, size_t size)
{
    constexpr uint32_t kModulus = 65521;
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % kModulus;
        b = (b + a) % kModulus;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> PngEncoder::Encode(const ScreenImage& image)
{
    const uint32_t width = static_cast<uint32_t>(image.Width());
    const uint32_t height = static_cast<uint32_t>(image.Height());
    std::vector<uint8_t> out(kSignature, kSignature + sizeof(kSignature));

    std::vector<uint8_t> header;
    PutBigEndian(&header, width);
    PutBigEndian(&header, height);
    header.push_back(8);               // bits per channel
    header.push_back(kColourTypeRgb);
    header.push_back(0);               // deflate
    header.push_back(0);               // adaptive filtering
    header.push_back(0);               // no interlace
    PutChunk(&out, "IHDR", header);

    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (1 + 3 * static_cast<size_t>(width)));
    const std::vector<uint32_t>& pixels = image.Pixels();
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            raw.push_back(static_cast<uint8_t>(p >> 16));
            raw.push_back(static_cast<uint8_t>(p >> 8));
            raw.push_back(static_cast<uint8_t>(p));
        }
    }
    PutChunk(&out, "IDAT", StoredZlib(raw));
    PutChunk(&out, "IEND", std::vector<uint8_t>());
    return out;
}

} // namespace e2e
