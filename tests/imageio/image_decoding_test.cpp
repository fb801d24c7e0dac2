#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "imageio/file_image_decoder.h"
#include "imageio/image_stream.h"
#include "imageio/reader_process.h"

namespace fs = std::filesystem;

namespace {

// A 5 x 3 picture with a different colour in every pixel.
QImage Sample() {
    QImage image(5, 3, QImage::Format_RGB888);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) image.setPixel(x, y, qRgb(40 * x, 80 * y + 10, 200 - 30 * x));
    return image;
}

// The pixel the bottom-up rows hold for sample pixel (x, y).
std::array<int, 3> Expected(int x, int y) {
    return {40 * x, 80 * y + 10, 200 - 30 * x};
}

class ImageDecodingTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kinemo_images_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) { return (dir_ / name).string(); }
    void WriteBytes(const std::string& name, const std::string& bytes) {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string ReadBytes(const std::string& name) {
        std::ifstream f(Path(name), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    }
    // An uncompressed 24-bit BMP with a version 5 header, as current tools write.
    std::string BmpV5(const QImage& image) {
        std::string b;
        auto u16 = [&](uint16_t v) { b.push_back(char(v & 0xFF)), b.push_back(char(v >> 8)); };
        auto u32 = [&](uint32_t v) { u16(uint16_t(v & 0xFFFF)), u16(uint16_t(v >> 16)); };
        const int row = (image.width() * 3 + 3) / 4 * 4;
        b += "BM";
        u32(14 + 124 + row * image.height());
        u32(0);
        u32(14 + 124);
        u32(124);
        u32(image.width());
        u32(image.height());
        u16(1);
        u16(24);
        u32(0);  // BI_RGB
        u32(row * image.height());
        u32(2835), u32(2835), u32(0), u32(0);
        for (int i = 0; i < 4; ++i) u32(0);   // masks
        u32(0x73524742);                      // sRGB
        for (int i = 0; i < 12; ++i) u32(0);  // endpoints, gamma
        u32(4), u32(0), u32(0), u32(0);       // intent, profile, reserved
        for (int y = image.height() - 1; y >= 0; --y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                b += char(qBlue(p)), b += char(qGreen(p)), b += char(qRed(p));
            }
            b.append(size_t(row - image.width() * 3), '\0');
        }
        return b;
    }

    // A version 5 PCX with one 8-bit plane and a 256-colour palette.
    std::string Pcx(const QImage& image) {
        std::string b(128, '\0');
        b[0] = 10, b[1] = 5, b[2] = 1, b[3] = 8;
        auto u16at = [&](size_t at, int v) { b[at] = char(v & 0xFF), b[at + 1] = char(v >> 8); };
        u16at(8, image.width() - 1);
        u16at(10, image.height() - 1);
        b[65] = 1;
        const int row = (image.width() + 1) / 2 * 2;
        u16at(66, row);
        u16at(68, 1);
        std::vector<QRgb> palette;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < row; ++x) {
                const QRgb p = image.pixel(std::min(x, image.width() - 1), y);
                auto it = std::find(palette.begin(), palette.end(), p);
                if (it == palette.end()) it = palette.insert(palette.end(), p);
                const char index = char(it - palette.begin());
                b += char(0xC1);  // a run of one: any value can follow
                b += index;
            }
        }
        b += char(12);
        for (int i = 0; i < 256; ++i) {
            const QRgb p = i < int(palette.size()) ? palette[size_t(i)] : 0;
            b += char(qRed(p)), b += char(qGreen(p)), b += char(qBlue(p));
        }
        return b;
    }

    fs::path dir_;
    rgFileImageDecoder decoder{KINEMO_READER_HELPER};
};

// TGA as the tools that write it lay it out: every image type, depth,
// compression and origin, with and without the 2.0 footer.
struct TgaKind {
    const char* name;
    int type;  // 1 colour-mapped, 2 true colour, 3 grey; +8 run-length encoded
    int depth;
    bool topDown;
    bool footer;
};

// The grey level the grey files hold for sample pixel (x, y).
int Grey(int x, int y) { return 40 * x + 20 * y + 5; }

std::string Tga(const QImage& image, const TgaKind& kind) {
    const int w = image.width(), h = image.height();
    const bool mapped = kind.type % 8 == 1, grey = kind.type % 8 == 3;
    std::string b;
    auto u8 = [&](int v) { b.push_back(char(v & 0xFF)); };
    auto u16 = [&](int v) { u8(v), u8(v >> 8); };
    std::vector<QRgb> palette;
    if (mapped)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) palette.push_back(image.pixel(x, y));
    u8(0), u8(mapped ? 1 : 0), u8(kind.type);
    u16(0), u16(mapped ? int(palette.size()) : 0), u8(mapped ? 24 : 0);
    u16(0), u16(0), u16(w), u16(h), u8(kind.depth);
    u8((kind.depth == 32 ? 8 : 0) | (kind.topDown ? 0x20 : 0));
    for (QRgb p : palette) u8(qBlue(p)), u8(qGreen(p)), u8(qRed(p));
    // One pixel's bytes, for the file row `row` (top-down or bottom-up).
    auto pixel = [&](int x, int row) {
        const int y = kind.topDown ? row : h - 1 - row;
        std::string out;
        const QRgb p = image.pixel(x, y);
        if (mapped) {
            out += char(y * w + x);
        } else if (grey) {
            out += char(Grey(x, y));
        } else if (kind.depth == 16) {
            const int v = (qRed(p) >> 3) << 10 | (qGreen(p) >> 3) << 5 | qBlue(p) >> 3 | 0x8000;
            out += char(v & 0xFF), out += char(v >> 8);
        } else {
            out += char(qBlue(p)), out += char(qGreen(p)), out += char(qRed(p));
            if (kind.depth == 32) out += char(0xFF);
        }
        return out;
    };
    for (int row = 0; row < h; ++row) {
        if (kind.type < 8) {
            for (int x = 0; x < w; ++x) b += pixel(x, row);
            continue;
        }
        // A raw packet of the first two pixels, then a run of one for each
        // of the rest: both packet kinds in every row.
        b += char(0x01), b += pixel(0, row), b += pixel(1, row);
        for (int x = 2; x < w; ++x) b += char(0x80), b += pixel(x, row);
    }
    if (kind.footer) {
        b.append(8, '\0');
        b += "TRUEVISION-XFILE.";
        b += '\0';
    }
    return b;
}

TEST_F(ImageDecodingTest, SoundFilesOfEveryFormatGiveTheirPixelsBottomUp) {
    const QImage sample = Sample();
    std::vector<std::string> files;
    for (const char* format : {"png", "bmp", "ppm", "tif"}) {
        const std::string name = std::string("sample.") + format;
        ASSERT_TRUE(sample.save(QString::fromStdString(Path(name)))) << format;
        files.push_back(name);
    }
    WriteBytes("v5.bmp", BmpV5(sample));
    files.push_back("v5.bmp");
    // The older formats only the reader helper reads.
    WriteBytes("sample.pcx", Pcx(sample));
    files.push_back("sample.pcx");
    const std::string sgi = "convert '" + Path("sample.ppm") + "' '" + Path("sample.sgi") + "'";
    if (std::system(sgi.c_str()) == 0) files.push_back("sample.sgi");
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        rgDecodedImage image;
        std::string why;
        ASSERT_TRUE(decoder.Decode(Path(name), image, why)) << why;
        ASSERT_EQ(image.width, 5);
        ASSERT_EQ(image.height, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const size_t at = (size_t(2 - y) * 5 + size_t(x)) * 3;  // bottom-up
                const auto e = Expected(x, y);
                EXPECT_EQ((std::array<int, 3>{image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]}),
                          e)
                    << x << "," << y;
            }
    }
}

TEST_F(ImageDecodingTest, TgaFilesOfEveryKindGiveTheirPixels) {
    const QImage sample = Sample();
    const TgaKind kinds[] = {
        {"true colour 24", 2, 24, false, false},    {"true colour 24 top-down", 2, 24, true, false},
        {"true colour 24 with footer", 2, 24, false, true},
        {"true colour 32", 2, 32, false, false},    {"true colour 16", 2, 16, false, false},
        {"RLE true colour 24", 10, 24, false, false}, {"RLE true colour 32 top-down", 10, 32, true, true},
        {"RLE true colour 16", 10, 16, true, false},
        {"colour-mapped", 1, 8, false, false},      {"RLE colour-mapped top-down", 9, 8, true, false},
        {"grey", 3, 8, false, false},               {"RLE grey top-down", 11, 8, true, true},
    };
    for (const TgaKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        WriteBytes("kind.tga", Tga(sample, kind));
        rgDecodedImage image;
        std::string why;
        ASSERT_TRUE(decoder.Decode(Path("kind.tga"), image, why)) << why;
        ASSERT_EQ(image.width, 5);
        ASSERT_EQ(image.height, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const size_t at = (size_t(2 - y) * 5 + size_t(x)) * 3;  // bottom-up
                std::array<int, 3> e = Expected(x, y);
                if (kind.type % 8 == 3) e = {Grey(x, y), Grey(x, y), Grey(x, y)};
                // 5 bits a channel: the top bits must agree.
                const int tolerance = kind.depth == 16 ? 8 : 0;
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(image.rgb[at + size_t(c)], e[size_t(c)], tolerance)
                        << x << "," << y << " channel " << c;
            }
    }
    // A file ImageMagick wrote, where the machine has it: no footer.
    ASSERT_TRUE(sample.save(QString::fromStdString(Path("magick.ppm"))));
    const std::string convert =
        "convert '" + Path("magick.ppm") + "' '" + Path("magick.tga") + "' 2>/dev/null";
    if (std::system(convert.c_str()) == 0) {
        rgDecodedImage image;
        std::string why;
        ASSERT_TRUE(decoder.Decode(Path("magick.tga"), image, why)) << why;
        EXPECT_EQ(image.rgb[(2 * 5 + 4) * 3], Expected(4, 0)[0]);  // top right, last row up
    }
}

// TGA files lie in every field: each is read or refused with a reason,
// within the reader's limits, never a hang or a crash.
TEST_F(ImageDecodingTest, DamagedTgaFilesAreReadOrRefused) {
    const QImage sample = Sample().scaled(40, 30);
    std::vector<std::pair<std::string, std::string>> files;
    const std::string plain = Tga(sample, {"plain", 2, 24, false, false});
    const std::string rle = Tga(sample, {"rle", 10, 32, false, false});
    const std::string mapped = Tga(sample.scaled(8, 8), {"mapped", 9, 8, false, false});
    for (size_t cut = 0; cut <= 18; ++cut) files.push_back({"cut header", plain.substr(0, cut)});
    files.push_back({"cut pixels", plain.substr(0, plain.size() / 2)});
    files.push_back({"cut run", rle.substr(0, rle.size() - 7)});
    std::string huge = plain.substr(0, 100);
    huge[12] = huge[13] = huge[14] = huge[15] = char(0xFF);  // 65,535 x 65,535 in 100 bytes
    files.push_back({"lying size", huge});
    std::string runaway = rle;
    runaway[18] = char(0xFF);  // a run of 128 where the row has 40 pixels, and again
    for (size_t at = 18 + 9; at + 5 < runaway.size(); at += 5) runaway[at] = char(0xFF);
    files.push_back({"runs past the image", runaway});
    std::string shortMap = mapped;
    shortMap[5] = 2, shortMap[6] = 0;  // two colours, while pixels name up to 63
    files.push_back({"indices past the map", shortMap});
    std::string bigMap = mapped;
    bigMap[5] = bigMap[6] = char(0xFF);  // a map of 65,535 colours in a small file
    files.push_back({"map longer than the file", bigMap});
    std::string oddDepth = plain;
    oddDepth[16] = 7;
    files.push_back({"depth 7", oddDepth});
    std::string badType = plain;
    badType[2] = 42;
    files.push_back({"unknown type", badType});
    std::mt19937 random(11);
    for (int trial = 0; trial < 20; ++trial) {
        std::string damaged = trial % 2 ? rle : mapped;
        for (int k = 0; k < 6; ++k) damaged[random() % damaged.size()] = char(random());
        files.push_back({"bytes changed", damaged});
    }
    decoder.SetTimeLimit(5);
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        WriteBytes("damaged.tga", bytes);
        rgDecodedImage image;
        std::string why;
        if (decoder.Decode(Path("damaged.tga"), image, why)) {
            EXPECT_GT(image.width, 0);
            EXPECT_EQ(image.rgb.size(), size_t(image.width) * size_t(image.height) * 3);
        } else {
            EXPECT_FALSE(why.empty());
        }
    }
}

TEST_F(ImageDecodingTest, TheInProcessReadersGiveWhatTheHelperGivesForSoundFiles) {
    const QImage sample = Sample();
    for (const char* format : {"png", "bmp", "ppm"}) {
        SCOPED_TRACE(format);
        const std::string name = std::string("same.") + format;
        ASSERT_TRUE(sample.save(QString::fromStdString(Path(name))));
        rgDecodedImage ours, helpers;
        std::string why;
        ASSERT_TRUE(decoder.Decode(Path(name), ours, why)) << why;
        const rgReaderResult run = RunReader(KINEMO_READER_HELPER, {"image", Path(name)}, {});
        ASSERT_TRUE(run.ok) << run.reason;
        ASSERT_TRUE(ParseImageStream(run.output, 1000, helpers, why)) << why;
        EXPECT_EQ(ours.width, helpers.width);
        EXPECT_EQ(ours.height, helpers.height);
        EXPECT_EQ(ours.rgb, helpers.rgb);
    }
    // The helper takes the limits it is given before it reads: a picture
    // that needs 12 MB reads within the usual limits, not within 4 MB.
    QImage big(2000, 2000, QImage::Format_RGB32);
    big.fill(Qt::darkCyan);
    ASSERT_TRUE(big.save(QString::fromStdString(Path("big.png"))));
    EXPECT_TRUE(RunReader(KINEMO_READER_HELPER, {"image", Path("big.png")}, {}).ok);
    rgReaderLimits tiny;
    tiny.memoryBytes = 4 << 20;
    EXPECT_FALSE(RunReader(KINEMO_READER_HELPER, {"image", Path("big.png")}, tiny).ok);
}

TEST_F(ImageDecodingTest, DamagedFilesAreRefusedWithAReason) {
    const QImage sample = Sample().scaled(64, 48);
    ASSERT_TRUE(sample.save(QString::fromStdString(Path("whole.png"))));
    ASSERT_TRUE(sample.save(QString::fromStdString(Path("whole.bmp"))));
    std::mt19937 random(3);
    for (const char* source : {"whole.png", "whole.bmp"}) {
        const std::string bytes = ReadBytes(source);
        for (size_t cut = 0; cut < bytes.size(); cut += 37) {  // cut short everywhere
            WriteBytes("cut.png", bytes.substr(0, cut));
            rgDecodedImage image;
            std::string why;
            if (!decoder.Decode(Path("cut.png"), image, why)) {
                EXPECT_FALSE(why.empty());
            }
        }
        for (int trial = 0; trial < 40; ++trial) {  // bytes changed
            std::string damaged = bytes;
            for (int k = 0; k < 4; ++k) damaged[random() % damaged.size()] = char(random());
            WriteBytes("flipped.png", damaged);
            rgDecodedImage image;
            std::string why;
            decoder.Decode(Path("flipped.png"), image, why);
        }
    }
    const struct {
        const char* name;
        std::string bytes;
    } refused[] = {
        {"empty.png", ""},
        {"huge.ppm", std::string("P6\n65535 65535\n255\n") + std::string(80, 'x')},
        {"text.png", "this is not an image"},
        {"damaged.pcx", std::string(128, '\x0a')},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.name);
        WriteBytes(r.name, r.bytes);
        rgDecodedImage image;
        std::string why;
        EXPECT_FALSE(decoder.Decode(Path(r.name), image, why));
        EXPECT_FALSE(why.empty());
    }
    fs::create_directories(Path("folder.png"));
    rgDecodedImage image;
    std::string why;
    EXPECT_FALSE(decoder.Decode(Path("folder.png"), image, why));
    EXPECT_EQ(why, "it is not a file");
}

// Helpers that hang, crash, lie or shout: the editor's side stays in charge.
TEST_F(ImageDecodingTest, AHelperThatMisbehavesIsStoppedAndItsStreamChecked) {
    const struct {
        const char* name;
        const char* script;
        const char* reason;
        const char* problem;  // as the user reads it
    } cases[] = {
        {"hangs", "sleep 30", "timed out after 0.5 s", "the reader stopped (timed out after 0.5 s)"},
        {"crashes", "kill -SEGV $$", "crashed with signal 11", "the reader stopped (crashed with signal 11)"},
        {"fails", "echo 'no such image' >&2; exit 1", "no such image", "no such image"},
        {"floods", "yes", "wrote more than it may", "the reader stopped (wrote more than it may)"},
        {"aborts", "echo 'std::bad_alloc' >&2; exit 3", "ran out of memory",
         "the reader stopped (ran out of memory)"},
    };
    rgReaderLimits limits;
    limits.seconds = 0.5;
    limits.maxOutput = 1 << 20;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string program = Path(c.name);
        std::ofstream(program) << "#!/bin/sh\n" << c.script << "\n";
        fs::permissions(program, fs::perms::owner_all);
        const rgReaderResult run = RunReader(program, {"image", "x.pcx"}, limits);
        EXPECT_FALSE(run.ok);
        EXPECT_EQ(run.reason, c.reason);
        EXPECT_EQ(ReaderProblem(run), c.problem);
    }

    const struct {
        const char* name;
        std::string stream;
    } lies[] = {
        {"short header", "KRI1\x05"},
        {"wrong magic", std::string("KRI2") + std::string(8, '\x01') + std::string(3, '\0')},
        {"fewer bytes than pixels",
         std::string("KRI1\x02\0\0\0\x02\0\0\0", 12) + std::string(11, 'a')},
        {"a huge size", std::string("KRI1\xff\xff\0\0\xff\xff\0\0", 12)},
        {"zero width", std::string("KRI1\0\0\0\0\x01\0\0\0", 12)},
    };
    for (const auto& l : lies) {
        SCOPED_TRACE(l.name);
        rgDecodedImage image;
        std::string why;
        EXPECT_FALSE(ParseImageStream(l.stream, 1 << 20, image, why));
        EXPECT_FALSE(why.empty());
    }
}

}  // namespace
