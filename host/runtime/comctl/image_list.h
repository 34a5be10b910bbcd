#pragma once

#include <cstddef>
#include <vector>

#include "comctl/imagelist.h"

namespace sv::comctl {

// The images of a list, each as pixels with a transparency flag a pixel.
class ImageList {
public:
    static constexpr int kMaxSide = 256;
    static constexpr int kMaxImages = 4096;

    ImageList(int width, int height, UINT flags, int initial, int grow);

    int width() const { return width_; }
    int height() const { return height_; }
    bool masked() const { return (flags_ & ILC_MASK) != 0; }
    int count() const { return static_cast<int>(images_.size()); }
    COLORREF background() const { return background_; }
    void setBackground(COLORREF colour) { background_ = colour; }

    // Cuts a strip of pixels (stripWidth by height()) into images; transparent may be empty.
    // Answers the index of the first image, -1 when the strip is not as high as the images or
    // the list would outgrow kMaxImages.
    int addStrip(const std::vector<COLORREF>& pixels, const std::vector<bool>& transparent,
                 int stripWidth, int stripHeight);
    bool remove(int index);

    // The pixels to draw for a style: colour a pixel, and whether it is drawn at all.
    bool render(int index, UINT style, std::vector<COLORREF>& colours,
                std::vector<bool>& drawn) const;

private:
    struct Image {
        std::vector<COLORREF> pixels;
        std::vector<bool> transparent;
    };

    int width_;
    int height_;
    UINT flags_;
    int grow_;
    std::size_t capacity_ = 0;
    COLORREF background_ = CLR_NONE;
    std::vector<Image> images_;
};

// The table behind HIMAGELIST handles.
HIMAGELIST registerImageList(int width, int height, UINT flags, int initial, int grow);
ImageList* findImageList(HIMAGELIST handle);
bool destroyImageList(HIMAGELIST handle);

} // namespace sv::comctl
