// Reads the finished frame out of the default framebuffer's back buffer, for tools that record
// what the window shows. Call it after the frame is drawn and before it is presented (a present
// hook). The read leaves the GL state as it found it, so the frame after it draws the same way
// as without the read.
#pragma once

#include <cstdint>
#include <vector>

// width × height RGB pixels, 3 bytes each, rows top first (as an image file stores them).
void ReadBackBuffer(int width, int height, std::vector<uint8_t>* rgb);
