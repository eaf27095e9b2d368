#include "ui/skin/image.h"

#include <cstdio>
#include <utility>

#include "ui/skin/form.h"

namespace skin {

namespace {
Rect Scaled(const Rect& r, int scale) {
    return {r.left * scale, r.top * scale, r.right * scale, r.bottom * scale};
}
} // namespace

Image::Image(Form& owner, const ComponentDescription& description, Picture picture)
    : owner_(owner), description_(description), visible_(description.visible),
      picture_(std::move(picture)), pictureScale_(1) {
    owner_.Adopt(*this);
}

Image::Image(Form& owner, const ComponentDescription& description, PictureSource source)
    : owner_(owner), description_(description), visible_(description.visible), source_(source) {
    owner_.Adopt(*this);
}

void Image::Load() {
    FetchAt(owner_.ArtScale());
}

void Image::FetchAt(int scale) const {
    if (source_ != nullptr && pictureScale_ != scale) {
        picture_ = source_(description_.name, scale);
        pictureScale_ = scale;
    }
}

Picture& Image::Fetched() const {
    if (pictureScale_ == 0) {
        try {
            FetchAt(owner_.ArtScale());
        } catch (const PictureError& error) {
            // Painting cannot report; the picture stays empty and what lies beneath shows.
            std::fprintf(stderr, "skin: %s\n", error.what());
            picture_ = {};
            pictureScale_ = owner_.ArtScale();
        }
    }
    return picture_;
}

const Picture& Image::GetPicture() const {
    return Fetched();
}

int Image::PictureScale() const {
    Fetched();
    return pictureScale_;
}

void Image::ArtScaleChanged() {
    if (source_ != nullptr && pictureScale_ != owner_.ArtScale()) {
        picture_ = {};
        pictureScale_ = 0;
    }
}

void Image::SetVisible(bool visible) {
    if (visible == visible_) {
        return;
    }
    visible_ = visible;
    owner_.VisibilityChanged(*this);
}

void Image::FillRect(const Rect& area, Pixel colour) {
    const int scale = PictureScale();
    RgbPixels& canvas = picture_.Canvas();
    const Rect touched = area.Intersected({0, 0, canvas.Width() / scale, canvas.Height() / scale});
    if (touched.Empty()) {
        return;
    }
    canvas.Fill(Scaled(touched, scale), colour);
    if (visible_) {
        owner_.Invalidate(touched.Translated(Left(), Top()));
    }
}

template <typename CopyFn> void Image::CopyOnto(const Rect& sourceArea, Point to, CopyFn copy) {
    const int scale = PictureScale();
    RgbPixels& canvas = picture_.Canvas();
    const Rect touched = Rect::At(to, {sourceArea.Width(), sourceArea.Height()})
                             .Intersected({0, 0, canvas.Width() / scale, canvas.Height() / scale});
    if (touched.Empty()) {
        return;
    }
    copy(canvas, Scaled(sourceArea, scale), Point{to.x * scale, to.y * scale});
    if (visible_) {
        owner_.Invalidate(touched.Translated(Left(), Top()));
    }
}

void Image::CopyRect(const RgbPixels& source, const Rect& sourceArea, Point to) {
    CopyOnto(sourceArea, to,
             [&](RgbPixels& canvas, const Rect& from, Point at) { canvas.Copy(source, from, at); });
}

void Image::CopyRect(const Picture& source, const Rect& sourceArea, Point to) {
    CopyOnto(sourceArea, to, [&](RgbPixels& canvas, const Rect& from, Point at) {
        source.CopyTo(canvas, from, at);
    });
}

} // namespace skin
