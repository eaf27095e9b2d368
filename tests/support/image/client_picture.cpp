#include "tests/support/image/client_picture.h"

namespace test_image {

skin::RgbPixels ClientPicture(skin::Form& form) {
    const int scale = form.ArtScale();
    skin::RgbPixels picture(form.ClientSize().width * scale, form.ClientSize().height * scale);
    form.ComposeArea(form.ClientRect(), picture);
    return picture;
}

} // namespace test_image
