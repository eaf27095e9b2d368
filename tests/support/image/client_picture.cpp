#include "tests/support/image/client_picture.h"

namespace test_image {

skin::PixelImage ClientPicture(skin::Form& form) {
    skin::PixelImage picture(form.ClientSize().width, form.ClientSize().height);
    form.ComposeArea(form.ClientRect(), picture);
    return picture;
}

} // namespace test_image
