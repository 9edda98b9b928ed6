// The show's flat pictures, drawn by code: the setup dialog's picture for now.
#pragma once

#include "formats/jpegwriter.h"

// 400 x 190: neon lines on black, dark enough that the dialog's black band sits well on it.
JpegImage MakeSetupPicture();
