// The preview window's rectangle and its panning, in 32 bits throughout: a
// photo is many times wider than the 32,767 twips of a 16-bit offset.
#include "pictures/preview_form.h"

#include <algorithm>

namespace quillet {

namespace {

int32_t Clamp(int64_t v, int64_t low, int64_t high) {
    return static_cast<int32_t>(std::clamp(v, low, std::max(low, high)));
}

// One axis of the rectangle: no longer than the work area, then pushed back
// inside it, its far edge first so that a window as long as the area starts
// at the area's start.
void Fit(int32_t& start, int32_t& length, int64_t wanted, int32_t areaStart, int32_t areaLength) {
    length = Clamp(wanted, 0, areaLength);
    const int64_t areaEnd = int64_t{areaStart} + areaLength;
    int64_t s = start;
    if (s + length > areaEnd) s = areaEnd - length;
    if (s < areaStart) s = areaStart;
    start = static_cast<int32_t>(s);
}

}  // namespace

PixelRect PreviewWindowRect(const PixelRect& current, int32_t pictureWidth, int32_t pictureHeight,
                            int32_t frameWidth, int32_t frameHeight, const PixelRect& workArea) {
    PixelRect r = current;
    Fit(r.left, r.width, int64_t{std::max(pictureWidth, 0)} + std::max(frameWidth, 0),
        workArea.left, std::max(workArea.width, 0));
    Fit(r.top, r.height, int64_t{std::max(pictureHeight, 0)} + std::max(frameHeight, 0),
        workArea.top, std::max(workArea.height, 0));
    return r;
}

PixelRect CentredOn(const PixelRect& workArea, int32_t width, int32_t height) {
    PixelRect r{0, 0, Clamp(width, 0, workArea.width), Clamp(height, 0, workArea.height)};
    r.left = static_cast<int32_t>(workArea.left + (int64_t{workArea.width} - r.width) / 2);
    r.top = static_cast<int32_t>(workArea.top + (int64_t{workArea.height} - r.height) / 2);
    return r;
}

void PreviewForm::FormResize(int32_t viewportWidth, int32_t viewportHeight, int32_t pictureWidth,
                             int32_t pictureHeight) {
    auto lay = [](PanAxis& axis, int32_t viewport, int32_t picture) {
        axis.visible = viewport < picture;
        axis.maximum = Clamp(int64_t{picture} - viewport, 0, INT32_MAX);
        // Offsets that outlived the picture's position would make the next
        // drag jump by them.
        axis.value = 0;
    };
    lay(hScroll1_, viewportWidth, pictureWidth);
    lay(vScroll1_, viewportHeight, pictureHeight);
}

bool PreviewForm::Picture2_MouseDown(int button, int32_t x, int32_t y) {
    if (button != 1) return false;
    dragStartX_ = DragStart{hScroll1_.visible, x};
    dragStartY_ = DragStart{vScroll1_.visible, y};
    dragging_ = hScroll1_.visible || vScroll1_.visible;
    return dragging_;
}

bool PreviewForm::Follow(PanAxis& axis, const DragStart& start, int32_t now) {
    if (!start.pans) return false;
    const int64_t moved = int64_t{start.at} - now;
    const int32_t value = Clamp(int64_t{axis.value} + moved, 0, axis.maximum);
    if (value == axis.value) return false;
    axis.value = value;
    return true;
}

bool PreviewForm::Picture2_MouseMove(int32_t x, int32_t y) {
    if (!dragging_) return false;
    const bool movedX = Follow(hScroll1_, dragStartX_, x);
    const bool movedY = Follow(vScroll1_, dragStartY_, y);
    return movedX || movedY;
}

}  // namespace quillet
