// A contact sheet: a grid of frames, left to right and top to bottom in time order, each shrunk
// by a whole factor to at most kMaxTileWidth pixels wide and labelled below with its time
// ("m:ss.ss"). Tiles that never get a frame (a capture stopped early) stay blank.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ContactSheet {
public:
    static constexpr int kMaxTileWidth = 320;
    static constexpr int kMargin = 8;
    static constexpr int kLabelHeight = 20;

    ContactSheet(int columns, int rows, int frameWidth, int frameHeight);

    int Tiles() const { return m_columns * m_rows; }
    int TileWidth() const { return m_tileWidth; }
    int TileHeight() const { return m_tileHeight; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Top-left pixel of a tile's picture.
    int TileLeft(int tile) const;
    int TileTop(int tile) const;

    // rgb: the frame, frameWidth × frameHeight × 3 bytes, rows top first.
    void Place(int tile, const std::vector<uint8_t>& rgb, double seconds);
    const std::vector<uint8_t>& Pixels() const { return m_pixels; }

private:
    void DrawLabel(int left, int top, const std::string& text);

    int m_columns, m_rows;
    int m_frameWidth, m_frameHeight;
    int m_factor;
    int m_tileWidth, m_tileHeight;
    int m_width, m_height;
    std::vector<uint8_t> m_pixels;
};

// "m:ss.ss" for a time in seconds.
std::string FormatSheetTime(double seconds);
