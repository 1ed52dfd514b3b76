#include "shell/default_desktop.h"

#include "assets/embedded_assets.h"
#include "picture/sprite_sheet.h"

namespace mole {

Surface defaultDesktopPicture(int32_t width, int32_t height) {
    const assets::Blob png = assets::defaultDesktop();
    Surface picture;
    if (!decodePicture(png.data, png.size, picture)) {
        // Cannot happen with the committed asset; a plain blue desktop keeps the game going.
        return Surface(width, height, rgb(0x2A, 0x5C, 0x8A));
    }
    if (picture.width == width && picture.height == height) {
        return picture;
    }
    return scaledPicture(picture, width, height);
}

}  // namespace mole
