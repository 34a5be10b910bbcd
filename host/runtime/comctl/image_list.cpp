#include "image_list.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>

#include "gdi/syscolors.h"

namespace sv::comctl {
namespace {

struct ImageListTable {
    std::map<std::uintptr_t, std::unique_ptr<ImageList>> lists;
    std::uintptr_t nextKey = 1;
};

ImageListTable& table() {
    static ImageListTable instance;
    return instance;
}

COLORREF blend(COLORREF image, COLORREF tint, int tintPercent) {
    const auto mix = [tintPercent](BYTE a, BYTE b) {
        return static_cast<BYTE>((a * (100 - tintPercent) + b * tintPercent) / 100);
    };
    return RGB(mix(GetRValue(image), GetRValue(tint)), mix(GetGValue(image), GetGValue(tint)),
               mix(GetBValue(image), GetBValue(tint)));
}

} // namespace

ImageList::ImageList(int width, int height, UINT flags, int initial, int grow)
    : width_(width), height_(height), flags_(flags), grow_(std::max(grow, 1)),
      capacity_(static_cast<std::size_t>(std::min(initial, kMaxImages))) {
    images_.reserve(capacity_);
}

int ImageList::addStrip(const std::vector<COLORREF>& pixels, const std::vector<bool>& transparent,
                        int stripWidth, int stripHeight) {
    if (stripHeight != height_ || stripWidth < width_) {
        return -1;
    }
    const int added = stripWidth / width_;
    if (count() + added > kMaxImages) {
        return -1;
    }
    const int first = count();
    while (capacity_ < images_.size() + static_cast<std::size_t>(added)) {
        capacity_ += static_cast<std::size_t>(grow_);
    }
    images_.reserve(capacity_);
    for (int n = 0; n < added; ++n) {
        Image image;
        image.pixels.reserve(static_cast<std::size_t>(width_) * height_);
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * stripWidth + n * width_ + x;
                image.pixels.push_back(pixels[at]);
                image.transparent.push_back(masked() && !transparent.empty() && transparent[at]);
            }
        }
        images_.push_back(std::move(image));
    }
    return first;
}

bool ImageList::remove(int index) {
    if (index == -1) {
        images_.clear();
        return true;
    }
    if (index < 0 || index >= count()) {
        return false;
    }
    images_.erase(images_.begin() + index);
    return true;
}

bool ImageList::render(int index, UINT style, std::vector<COLORREF>& colours,
                       std::vector<bool>& drawn) const {
    if (index < 0 || index >= count()) {
        return false;
    }
    const Image& image = images_[static_cast<std::size_t>(index)];
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const int tint = (style & ILD_BLEND50) ? 50 : (style & ILD_BLEND25) ? 25 : 0;
    colours.assign(image.pixels.size(), 0);
    drawn.assign(image.pixels.size(), true);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const bool clear = image.transparent[i];
        if (style & ILD_MASK) {
            colours[i] = clear ? RGB(255, 255, 255) : RGB(0, 0, 0);
        } else if (clear) {
            const bool fill = !(style & ILD_TRANSPARENT) && background_ != CLR_NONE;
            drawn[i] = fill;
            colours[i] = fill ? background_ : 0;
        } else {
            colours[i] = tint ? blend(image.pixels[i], highlight, tint) : image.pixels[i];
        }
    }
    return true;
}

HIMAGELIST registerImageList(int width, int height, UINT flags, int initial, int grow) {
    if (width < 1 || width > ImageList::kMaxSide || height < 1 || height > ImageList::kMaxSide ||
        initial < 0 || grow < 0) {
        return nullptr;
    }
    ImageListTable& lists = table();
    const std::uintptr_t key = lists.nextKey++;
    lists.lists.emplace(key, std::make_unique<ImageList>(width, height, flags, initial, grow));
    return reinterpret_cast<HIMAGELIST>(key);
}

ImageList* findImageList(HIMAGELIST handle) {
    ImageListTable& lists = table();
    const auto found = lists.lists.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == lists.lists.end() ? nullptr : found->second.get();
}

bool destroyImageList(HIMAGELIST handle) {
    return table().lists.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
}

} // namespace sv::comctl
