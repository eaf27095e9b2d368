#include "ui/skin/image.h"

#include <utility>

#include "ui/skin/form.h"

namespace skin {

Image::Image(Form& owner, const ComponentDescription& description, Picture picture)
    : owner_(owner), description_(description), visible_(description.visible),
      picture_(std::move(picture)) {
    owner_.Adopt(*this);
}

void Image::SetVisible(bool visible) {
    if (visible == visible_) {
        return;
    }
    visible_ = visible;
    owner_.VisibilityChanged(*this);
}

void Image::FillRect(const Rect& area, Pixel colour) {
    RgbPixels& canvas = picture_.Canvas();
    const Rect touched = area.Intersected(canvas.Bounds());
    if (touched.Empty()) {
        return;
    }
    canvas.Fill(touched, colour);
    if (visible_) {
        owner_.Invalidate(touched.Translated(Left(), Top()));
    }
}

template <typename CopyFn> void Image::CopyOnto(const Rect& sourceArea, Point to, CopyFn copy) {
    RgbPixels& canvas = picture_.Canvas();
    const Rect touched =
        Rect::At(to, {sourceArea.Width(), sourceArea.Height()}).Intersected(canvas.Bounds());
    if (touched.Empty()) {
        return;
    }
    copy(canvas);
    if (visible_) {
        owner_.Invalidate(touched.Translated(Left(), Top()));
    }
}

void Image::CopyRect(const RgbPixels& source, const Rect& sourceArea, Point to) {
    CopyOnto(sourceArea, to, [&](RgbPixels& canvas) { canvas.Copy(source, sourceArea, to); });
}

void Image::CopyRect(const Picture& source, const Rect& sourceArea, Point to) {
    CopyOnto(sourceArea, to, [&](RgbPixels& canvas) { source.CopyTo(canvas, sourceArea, to); });
}

} // namespace skin
