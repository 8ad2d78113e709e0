// The tour's screenshots as PNG files, encoded by the Windows Imaging Component (8-bit RGB).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // rows top to bottom, 3 bytes (R, G, B) per pixel
};

// False for an image whose pixels do not fill it, or when the file cannot be written.
bool WritePng(const std::string& path, const RgbImage& image);
// A PNG file's pixels as 8-bit RGB, decoded by the same component: the tests read files back.
bool ReadPng(const std::string& path, RgbImage& image);
