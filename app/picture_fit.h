// Where the picture box draws its picture: centred, and shrunk to fit when
// it is larger than the box, never enlarged.
#pragma once

#include <algorithm>

struct PictureRect {
    int x, y, width, height;
    bool operator==(const PictureRect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

constexpr PictureRect FitPicture(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight) {
    int x = 0, y = 0;
    int availableWidth = boxWidth, availableHeight = boxHeight;
    if (pictureWidth <= boxWidth) {
        x = (boxWidth - pictureWidth) / 2;
        availableWidth = pictureWidth;
    }
    if (pictureHeight <= boxHeight) {
        y = (boxHeight - pictureHeight) / 2;
        availableHeight = pictureHeight;
    }
    if (pictureWidth <= availableWidth && pictureHeight <= availableHeight)
        return {x, y, pictureWidth, pictureHeight};
    // A picture without area has nothing to scale (and 0 / 0 to avoid).
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return {x + availableWidth / 2, y + availableHeight / 2, 0, 0};

    const double scale = std::min(static_cast<double>(availableWidth) / pictureWidth,
                                  static_cast<double>(availableHeight) / pictureHeight);
    const int width = static_cast<int>(pictureWidth * scale);
    const int height = static_cast<int>(pictureHeight * scale);
    return {x + (availableWidth - width) / 2, y + (availableHeight - height) / 2, width, height};
}
