// The command line of the sample host, and the demo's screenshot encoder.
#include "host/CommandLine.h"
#include "demo/PngWriter.h"
#include <gtest/gtest.h>
#include <windows.h>

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

TEST(HostPng, WrittenFileDecodesToTheSamePixels)
{
    // 201 x 120 pixels: rows of an odd length, and each channel of a pixel a different value.
    RgbImage image;
    image.width = 201;
    image.height = 120;
    for (int i = 0; i < image.width * image.height * 3; ++i) image.pixels.push_back(static_cast<uint8_t>(i * 7));
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "vexaro-host-png.png";
    ASSERT_TRUE(WritePng(path, image));
    RgbImage read;
    bool decoded = ReadPng(path, read);
    DeleteFileA(path.c_str());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(201, read.width);
    EXPECT_EQ(120, read.height);
    EXPECT_TRUE(read.pixels == image.pixels);

    EXPECT_FALSE(WritePng(std::string(folder) + "no such folder\\x.png", image));
    image.pixels.pop_back();
    EXPECT_FALSE(WritePng(path, image));
}

} // namespace
