// A list of equal frames kept in one strip picture, drawn onto image components; never
// drawn by itself. The strip holds as many frames to a row as fit its width, row by row.
#pragma once

#include "ui/skin/component_description.h"
#include "ui/skin/image.h"
#include "ui/skin/picture.h"

namespace skin {

class ImageList {
public:
    // A strip given as it is is drawn at 1x; one from `source` is fetched at the scale of the
    // picture it is first drawn onto, and again when that scale changes.
    ImageList(const ComponentDescription& description, int count, Picture strip);
    ImageList(const ComponentDescription& description, int count, PictureSource source);
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    std::string_view Name() const { return description_.name; }
    int Count() const { return count_; }
    int Width() const { return description_.width; }
    int Height() const { return description_.height; }
    // Whether the strip is fetched and decoded (one from a source is, at the first frame drawn).
    bool Decoded() const { return stripScale_ != 0 && strip_.Decoded(); }
    // In skin pixels, whatever the scale of the strip.
    Rect FrameRect(int index) const;

    // Copies frame `index` opaquely onto `target`'s picture with its top-left corner at x, y
    // (skin pixels); an index outside the list draws nothing.
    void Draw(Image& target, int x, int y, int index);

private:
    // The strip at `scale`, fetched from the source when it is held at another.
    const Picture& Strip(int scale) const;
    // The strip from the source at `scale`, unless held at it already; throws PictureError.
    void FetchAt(int scale) const;
    // Frames to a row of the strip held; reading it decodes a strip still waiting.
    int Columns() const;

    ComponentDescription description_;
    int count_;
    PictureSource source_ = nullptr;
    // Fetched when first needed; the layout of frames is the same at every scale.
    mutable Picture strip_;
    mutable int stripScale_ = 0; // 0 until fetched
    mutable int columns_ = 0;    // 0 until counted
};

} // namespace skin
