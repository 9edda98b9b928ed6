// The show's flat pictures, drawn by code: the start and end screens, the mask laid over every
// frame, the loading picture and the setup dialog's picture. Titles are extruded glyph meshes
// seen in perspective; credits are anti-aliased text. The same fonts give the same bytes.
#pragma once

#include <string>

#include "formats/jpegwriter.h"
#include "formats/pngwriter.h"
#include "typography.h"

struct PictureFonts {
    Typeface bold;     // titles and names
    Typeface regular;  // the smaller lines
};

// Opens both fonts; false with a message naming the missing file and where it was looked for.
bool LoadPictureFonts(PictureFonts* fonts, std::string* error);

// A rectangle of pixels, right and bottom exclusive.
struct PictureRect {
    int left, top, right, bottom;
};

// The screens are drawn for a 16:9 frame and stretched over it.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 576;
constexpr int kMaskWidth = 512;
constexpr int kMaskHeight = 288;
constexpr int kSetupWidth = 400;
constexpr int kSetupHeight = 190;
// The setup dialog shows only this many rows of its picture above a black band.
constexpr int kSetupVisibleRows = 150;

// Where the big words go: the title on the start screen and the loading picture, the group name
// on the end screen, the title on the setup picture.
constexpr PictureRect kLoaderTitle{152, 150, 872, 318};
constexpr PictureRect kEndTitle{262, 64, 762, 164};
constexpr PictureRect kSetupTitle{70, 26, 330, 86};

// "loader": the start screen, fully opaque: the title PINDLE over a glowing floor, and "a real-time
// demo by KORVANE". It covers the first frame and fades.
PngImage MakeLoaderTexture(const PictureFonts& fonts);

// "end": the end screen, fully opaque: KORVANE, the credits, "thanks for watching".
PngImage MakeEndTexture(const PictureFonts& fonts);

// "maskovel": a black vignette with faint scanlines, nearly transparent in the middle.
PngImage MakeMaskTexture();

// "loader.jpg": shown while the content loads: the title's triangles still flying in.
JpegImage MakeLoadingPicture(const PictureFonts& fonts);

// "setup.jpg": 400 × 190; everything that matters lies in the top 150 rows.
JpegImage MakeSetupPicture(const PictureFonts& fonts);
