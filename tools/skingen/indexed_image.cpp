#include "tools/skingen/indexed_image.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>
#include <unordered_map>

namespace skingen {

namespace {

struct Entry {
    QRgb colour;
    std::int64_t count;
};

int Channel(QRgb c, int k) {
    return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c);
}

struct Box {
    std::vector<Entry> entries;

    std::int64_t Weight() const {
        std::int64_t w = 0;
        for (const Entry& e : entries) {
            w += e.count;
        }
        return w;
    }
    // Widest channel and its span.
    std::pair<int, int> Widest() const {
        int best = 0;
        int bestSpan = -1;
        for (int k = 0; k < 3; ++k) {
            int lo = 255;
            int hi = 0;
            for (const Entry& e : entries) {
                lo = std::min(lo, Channel(e.colour, k));
                hi = std::max(hi, Channel(e.colour, k));
            }
            if (hi - lo > bestSpan) {
                bestSpan = hi - lo;
                best = k;
            }
        }
        return {best, bestSpan};
    }
    QRgb Mean() const {
        double r = 0, g = 0, b = 0, n = 0;
        for (const Entry& e : entries) {
            const double w = static_cast<double>(e.count);
            r += qRed(e.colour) * w;
            g += qGreen(e.colour) * w;
            b += qBlue(e.colour) * w;
            n += w;
        }
        return qRgb(static_cast<int>(std::lround(r / n)), static_cast<int>(std::lround(g / n)),
                    static_cast<int>(std::lround(b / n)));
    }
};

// Splits boxes until there are `count` of them or none can be split; the box split next is the
// one whose spread, weighted by how many pixels it holds, is largest.
std::vector<Box> MedianCut(std::vector<Entry> entries, std::size_t count) {
    std::vector<Box> boxes;
    if (entries.empty() || count == 0) {
        return boxes;
    }
    boxes.push_back(Box{std::move(entries)});
    while (boxes.size() < count) {
        double bestScore = 0;
        std::size_t bestBox = boxes.size();
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].entries.size() < 2) {
                continue;
            }
            const double score =
                boxes[i].Widest().second * std::sqrt(static_cast<double>(boxes[i].Weight()));
            if (score > bestScore) {
                bestScore = score;
                bestBox = i;
            }
        }
        if (bestBox == boxes.size()) {
            break;
        }
        Box& box = boxes[bestBox];
        const int k = box.Widest().first;
        std::sort(box.entries.begin(), box.entries.end(), [k](const Entry& a, const Entry& b) {
            const int ca = Channel(a.colour, k);
            const int cb = Channel(b.colour, k);
            return ca != cb ? ca < cb : a.colour < b.colour;
        });
        const std::int64_t half = box.Weight() / 2;
        std::int64_t seen = 0;
        std::size_t cut = 1;
        for (; cut < box.entries.size() - 1; ++cut) {
            seen += box.entries[cut - 1].count;
            if (seen >= half) {
                break;
            }
        }
        Box upper{std::vector<Entry>(box.entries.begin() + static_cast<std::ptrdiff_t>(cut),
                                     box.entries.end())};
        box.entries.resize(cut);
        boxes.push_back(std::move(upper));
    }
    return boxes;
}

int Distance(QRgb a, QRgb b) {
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

} // namespace

QImage IndexedImage::ToImage() const {
    QImage out(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out.setPixel(x, y, palette[pixels[static_cast<std::size_t>(y * width + x)]]);
        }
    }
    return out;
}

IndexedImage Quantise(const QImage& drawing, const std::vector<QRgb>& keepExact) {
    const QImage rgb = drawing.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, std::int64_t> histogram;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            ++histogram[rgb.pixel(x, y) | 0xFF000000u];
        }
    }

    IndexedImage out;
    out.width = rgb.width();
    out.height = rgb.height();
    if (histogram.size() <= 256) {
        for (const auto& [colour, n] : histogram) {
            out.palette.push_back(colour);
        }
    } else {
        std::vector<QRgb> kept;
        for (QRgb c : keepExact) {
            if (histogram.count(c | 0xFF000000u) &&
                std::find(kept.begin(), kept.end(), c | 0xFF000000u) == kept.end()) {
                kept.push_back(c | 0xFF000000u);
            }
        }
        if (kept.size() > 128) {
            throw std::runtime_error("too many colours to keep exactly");
        }
        std::vector<Entry> rest;
        for (const auto& [colour, n] : histogram) {
            if (std::find(kept.begin(), kept.end(), colour) == kept.end()) {
                rest.push_back({colour, n});
            }
        }
        out.palette = kept;
        for (const Box& box : MedianCut(std::move(rest), 256 - kept.size())) {
            out.palette.push_back(box.Mean());
        }
    }

    std::unordered_map<QRgb, std::uint8_t> nearest;
    for (const auto& [colour, n] : histogram) {
        int best = std::numeric_limits<int>::max();
        std::size_t bestIndex = 0;
        for (std::size_t i = 0; i < out.palette.size() && best > 0; ++i) {
            const int d = Distance(colour, out.palette[i]);
            if (d < best) {
                best = d;
                bestIndex = i;
            }
        }
        nearest[colour] = static_cast<std::uint8_t>(bestIndex);
    }
    out.pixels.reserve(static_cast<std::size_t>(out.width * out.height));
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            out.pixels.push_back(nearest.at(rgb.pixel(x, y) | 0xFF000000u));
        }
    }
    return out;
}

std::vector<QRgb> BorderColours(const QImage& picture) {
    std::vector<QRgb> colours;
    const int w = picture.width();
    const int h = picture.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                colours.push_back(picture.pixel(x, y) | 0xFF000000u);
            }
        }
    }
    std::sort(colours.begin(), colours.end());
    colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
    return colours;
}

} // namespace skingen
