// A small PNG writer: 8-bit RGB, the image data in stored (uncompressed) deflate blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace e2e {

class ScreenImage;

class PngEncoder {
public:
    static std::vector<uint8_t> Encode(const ScreenImage& image);
    // CRC-32 as PNG chunks use it (ISO 3309), continued from crc (0 to start).
    static uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
    // Adler-32 as the zlib stream ends with it.
    static uint32_t Adler32(const uint8_t* data, size_t size);
};

} // namespace e2e
