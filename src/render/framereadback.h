// Reads the finished frame out of the default framebuffer's back buffer, for tools that record
// what the window shows. Call it after the frame is drawn and before it is presented (a present
// hook). The read waits for GL to finish the frame and leaves the GL state as it found it, so
// the frame after it draws the same way as without the read.
//
// On Mesa's software rasteriser a read of the window's buffer waits for the frame however it is
// made (into client memory, into a pixel-pack buffer, or as a blit into a texture), so the
// reads are plain and synchronous; what a tool does with the pixels afterwards can overlap the
// next frame.
#pragma once

#include <cstdint>
#include <vector>

// width × height RGB pixels, 3 bytes each, rows top first (as an image file stores them).
void ReadBackBuffer(int width, int height, std::vector<uint8_t>* rgb);

// width × height pixels, 4 bytes each in the order R, G, B, A (alpha unspecified), rows bottom
// first, as GL stores them: on Mesa's 8-bit surfaces that is a plain copy, with no conversion
// and no row shuffling. rgba must hold width × height × 4 bytes.
void ReadBackBufferRgba(int width, int height, uint8_t* rgba);
