// The command line of the sample host, and the demo's screenshot encoder.
#include "host/CommandLine.h"
#include "demo/PngWriter.h"
#include <gtest/gtest.h>

namespace {

TEST(HostCommandLine, OptionsAndErrors)
{
    HostOptions options;
    ParseResult r = ParseCommandLine({"--plugin", "a.dll", "--plugin", "b.dll", "--open", "x.txt", "--no-rebar",
                                      "--run-command", "--no-own-band", "--frames", "2"},
                                     options);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ((std::vector<std::string>{"a.dll", "b.dll"}), options.plugins);
    EXPECT_EQ("x.txt", options.openFile);
    EXPECT_EQ(RebarMode::OnCommand, options.rebarMode);
    EXPECT_TRUE(options.runCommand);
    EXPECT_FALSE(options.ownBand);
    EXPECT_EQ(2, options.frames);

    HostOptions never;
    EXPECT_TRUE(ParseCommandLine({"--rebar-never"}, never).ok);
    EXPECT_EQ(RebarMode::Never, never.rebarMode);
    HostOptions plain;
    EXPECT_TRUE(ParseCommandLine({}, plain).ok);
    EXPECT_EQ(RebarMode::Present, plain.rebarMode);
    EXPECT_TRUE(plain.ownBand);
    EXPECT_EQ(1, plain.frames);

    HostOptions bad;
    EXPECT_FALSE(ParseCommandLine({"--open"}, bad).ok);
    EXPECT_FALSE(ParseCommandLine({"--bogus"}, bad).ok);
    EXPECT_FALSE(ParseCommandLine({"--frames", "0"}, bad).ok);
    EXPECT_FALSE(ParseCommandLine({"--frames", "x"}, bad).ok);
}

uint32_t BigEndian(const std::string& s, size_t at)
{
    return (uint32_t(uint8_t(s[at])) << 24) | (uint32_t(uint8_t(s[at + 1])) << 16) | (uint32_t(uint8_t(s[at + 2])) << 8) |
           uint8_t(s[at + 3]);
}

TEST(HostPng, ChecksumsAndStoredBlocks)
{
    EXPECT_EQ(0xAE426082u, Crc32(reinterpret_cast<const uint8_t*>("IEND"), 4));
    EXPECT_EQ(0x11E60398u, Adler32(reinterpret_cast<const uint8_t*>("Wikipedia"), 9));

    // 200 x 120 pixels: the raw data needs two stored blocks.
    RgbImage image;
    image.width = 200;
    image.height = 120;
    for (int i = 0; i < image.width * image.height * 3; ++i) image.pixels.push_back(static_cast<uint8_t>(i * 7));
    std::string png = EncodePng(image);
    ASSERT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), png.substr(0, 8));
    EXPECT_EQ("IHDR", png.substr(12, 4));
    EXPECT_EQ(200u, BigEndian(png, 16));
    EXPECT_EQ(120u, BigEndian(png, 20));
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(png.data()) + 12, 17), BigEndian(png, 29));

    // Unpack the IDAT's stored blocks and compare with the rows, each behind its filter byte.
    size_t idat = 33;
    ASSERT_EQ("IDAT", png.substr(idat + 4, 4));
    size_t length = BigEndian(png, idat);
    std::string z = png.substr(idat + 8, length);
    std::string raw;
    size_t at = 2;
    bool last = false;
    int blocks = 0;
    while (!last && at + 5 <= z.size()) {
        last = z[at] & 1;
        size_t n = uint8_t(z[at + 1]) | (uint8_t(z[at + 2]) << 8);
        size_t check = uint8_t(z[at + 3]) | (uint8_t(z[at + 4]) << 8);
        EXPECT_EQ(0xFFFFu, n ^ check);
        raw += z.substr(at + 5, n);
        at += 5 + n;
        ++blocks;
    }
    EXPECT_EQ(2, blocks);
    ASSERT_EQ(size_t(120 * (1 + 600)), raw.size());
    EXPECT_EQ(0, raw[0]);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.pixels.data()) + 600, 600), raw.substr(602, 600));
    EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>(raw.data()), raw.size()), BigEndian(z, at));
    EXPECT_EQ("IEND", png.substr(png.size() - 8, 4));
}

} // namespace
