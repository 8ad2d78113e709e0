// A minimal PNG encoder: 8-bit RGB, one IDAT of stored (uncompressed) deflate blocks. Big files,
// but no compression library is needed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // rows top to bottom, 3 bytes (R, G, B) per pixel
};

uint32_t Crc32(const uint8_t* data, size_t length, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t length);
std::string EncodePng(const RgbImage& image);
bool WritePng(const std::string& path, const RgbImage& image);
