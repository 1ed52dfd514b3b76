#pragma once
// The program's pictures and sounds, compiled into the binary so that nothing is read from a file
// at run time. Each blob is the complete file as committed in assets/ (the Windows build carries
// the same files as resources 101 to 106 through resources.rc).
#include <cstddef>

namespace mole::assets {

struct Blob {
    const unsigned char* data;
    std::size_t size;
};

Blob spriteSheetBitmap();   // 101, the .bmp file bytes (BITMAPFILEHEADER included)
Blob iconGroup();           // 102, the .ico file bytes
Blob raisedHammerCursor();  // 103, the .cur file bytes
Blob struckHammerCursor();  // 104, the .cur file bytes
Blob swingSound();          // 105, the .wav file bytes
Blob hitSound();            // 106, the .wav file bytes
Blob defaultDesktop();      // the picture shown where no screen can be captured, PNG bytes

}  // namespace mole::assets
