// The about box's picture: where it goes, how it is decoded, how it is drawn.
#include <gtest/gtest.h>

#include "app/embedded.h"
#include "app/jpeg_picture.h"
#include "app/picture_box.h"
#include "app/picture_fit.h"
#include "resources/resource_names.h"
#include "tests/support.h"

namespace {

struct FitCase {
    const char* what;
    int boxWidth, boxHeight, pictureWidth, pictureHeight;
    PictureRect expected;
};

const FitCase fitCases[] = {
    {"the program's picture in its box", 450, 270, 920, 546, {0, 1, 450, 267}},
    {"smaller than the box: centred, not enlarged", 450, 270, 100, 50, {175, 110, 100, 50}},
    {"odd margins truncate toward zero", 451, 270, 100, 51, {175, 109, 100, 51}},
    {"exactly the box", 450, 270, 450, 270, {0, 0, 450, 270}},
    {"taller than the box: fills the height", 450, 270, 200, 600, {180, 0, 90, 270}},
    {"wider only: fills the width", 450, 270, 900, 100, {0, 110, 450, 50}},
    {"larger both ways, height decides", 450, 270, 500, 540, {100, 0, 250, 270}},
    {"no width, taller than the box", 450, 4366, 0, 2098072, {225, 2183, 0, 0}},
    {"no height, wider than the box", 450, 270, 900, 0, {225, 135, 0, 0}},
    {"no width, fits", 450, 270, 0, 100, {225, 85, 0, 100}},
};

void PrintTo(const FitCase& c, std::ostream* out) { *out << c.what; }

class FitPictureTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitPictureTest, PlacesThePicture) {
    const FitCase& c = GetParam();
    const PictureRect got = FitPicture(c.boxWidth, c.boxHeight, c.pictureWidth, c.pictureHeight);
    EXPECT_EQ(got, c.expected) << c.what << ": got " << got.x << "," << got.y << " " << got.width
                               << "x" << got.height;
}

INSTANTIATE_TEST_SUITE_P(Cases, FitPictureTest, testing::ValuesIn(fitCases),
                         [](const testing::TestParamInfo<FitCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

std::vector<uint8_t> ProgramPicture() {
    const EmbeddedBytes picture = EmbeddedResource(PICTURE_RESOURCE);
    return {picture.data, picture.data + picture.size};
}

TEST(DecodeJpeg, DecodesTheProgramPictureInto24BitRows) {
    const std::vector<uint8_t> jpeg = ProgramPicture();
    const std::optional<Picture> picture = DecodeJpeg(jpeg.data(), jpeg.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 920);
    EXPECT_EQ(picture->height, 546);
    EXPECT_EQ(picture->Stride(), 920u * 3);
    EXPECT_EQ(picture->bgr.size(), 920u * 3 * 546);
}

TEST(DecodeJpeg, RefusesDamagedPictures) {
    const std::vector<uint8_t> whole = ProgramPicture();
    std::vector<uint8_t> badHeader = whole;
    badHeader[1] = 0x00;  // no start-of-image marker
    struct Damage {
        const char* what;
        std::vector<uint8_t> bytes;
    } const damaged[] = {
        {"nothing at all", {}},
        {"not a JPEG", badHeader},
        {"cut inside the header", {whole.begin(), whole.begin() + 300}},
        {"cut in the middle of the scan", {whole.begin(), whole.begin() + whole.size() / 2}},
        {"missing its end marker", {whole.begin(), whole.end() - 2}},
    };
    for (const Damage& d : damaged)
        EXPECT_FALSE(DecodeJpeg(d.bytes.data(), d.bytes.size())) << d.what;
}

// A progressive picture claiming 62981 x 65496 pixels, found by fuzzing: it
// must be refused from its header, before gigabytes are allocated for it.
TEST(DecodeJpeg, RefusesAHugePictureBeforeAllocatingIt) {
    const char hex[] =
        "ffd80000ffdb0043000302020202020302020203030303840604040404040806060506ff080a0a0908"
        "09090a0c090809090a0cee101010101010101010101010101010101010101010ffc2001108ffd8f605"
        "03011100021101031101ff00000000000000040900c1f0ffda0008010100013f10a067ffd9";
    std::vector<uint8_t> jpeg;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2)
        jpeg.push_back(static_cast<uint8_t>(std::stoi(std::string(hex + i, 2), nullptr, 16)));
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(DecodeJpeg(jpeg.data(), jpeg.size()));
    EXPECT_LT(GetTickCount64() - start, 1000u);
}

// The program's box: 450 x 270 at (-3, -1) in MainWindow's client area.
constexpr RECT boxBounds{-3, -1, 447, 269};

// A picture box in a hidden parent, drawn off the screen.
class PictureBoxTest : public testing::Test {
protected:
    HWND Create(const std::vector<uint8_t>& jpeg) {
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 450, 270, nullptr, nullptr,
                                 nullptr, nullptr);
        return CreatePictureBox(parent, boxBounds, jpeg.data(), jpeg.size());
    }
    void Draw(HWND box) {
        SendMessageA(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND parent = nullptr;
    Canvas canvas{450, 270};
};

TEST_F(PictureBoxTest, DrawsThePictureAcrossTheWidthWithBackgroundAboveAndBelow) {
    HWND box = Create(ProgramPicture());
    ASSERT_TRUE(box);
    Draw(box);

    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    EXPECT_TRUE(canvas.RowIs(0, background));
    EXPECT_TRUE(canvas.RowIs(268, background));
    EXPECT_TRUE(canvas.RowIs(269, background));
    for (int y : {1, 134, 267}) {
        EXPECT_NE(canvas.Pixel(0, y), background) << "row " << y;
        EXPECT_NE(canvas.Pixel(449, y), background) << "row " << y;
    }
    EXPECT_NE(canvas.Pixel(10, 10), canvas.Pixel(440, 260)) << "the picture is not one colour";
}

TEST_F(PictureBoxTest, DamagedPictureLeavesTheBackground) {
    std::vector<uint8_t> jpeg = ProgramPicture();
    jpeg.resize(jpeg.size() / 2);
    HWND box = Create(jpeg);
    ASSERT_TRUE(box);
    Draw(box);
    for (int y = 0; y < 270; ++y) ASSERT_TRUE(canvas.RowIs(y, GetSysColor(COLOR_BTNFACE))) << y;
}

// Every repaint makes a 1.5 MB bitmap from the kept pixels. One that were not
// given back would show as GDI objects on Windows and as committed memory under
// wine, whose bitmaps live in the process (wine counts no GDI objects).
TEST_F(PictureBoxTest, RepaintsGiveBackTheirBitmaps) {
    HWND box = Create(ProgramPicture());
    ASSERT_TRUE(box);
    auto repaint = [&] { Draw(box); };
    repaint();
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const size_t bytesBefore = CommittedBytes();
    for (int i = 0; i < 40; ++i) repaint();
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_LT(CommittedBytes(), bytesBefore + 30u * 1024 * 1024) << "40 leaked bitmaps are 60 MB";
}

}  // namespace
