#include "tests/support/image/client_picture.h"

namespace test_image {

skin::RgbPixels ClientPicture(skin::Form& form) {
    skin::RgbPixels picture(form.ClientSize().width, form.ClientSize().height);
    form.ComposeArea(form.ClientRect(), picture);
    return picture;
}

} // namespace test_image
