// The preview window's arithmetic: its rectangle for a picture, and the
// panning of a picture larger than the window by dragging it.
#pragma once

#include <cstdint>

namespace quillet {

// A rectangle of the screen in pixels.
struct PixelRect {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

// The window's outer rectangle for a picture of `pictureWidth` x
// `pictureHeight` pixels, when the window's frame (borders and title bar)
// adds `frameWidth` x `frameHeight`: the picture and its frame, but no larger
// than `workArea`, and moved from `current` only as far as it takes to lie
// wholly on it.
PixelRect PreviewWindowRect(const PixelRect& current, int32_t pictureWidth, int32_t pictureHeight,
                            int32_t frameWidth, int32_t frameHeight, const PixelRect& workArea);

// Where a window of that size opens the first time: centred on the work area.
PixelRect CentredOn(const PixelRect& workArea, int32_t width, int32_t height);

// One of the two pan offsets, in twips: how far the picture is moved left
// (or up) inside the viewport. It pans along this axis only when the picture
// is larger than the viewport (`visible`, as the scroll bar that held it was).
struct PanAxis {
    int32_t value = 0;
    int32_t maximum = 0;  // 0 ... picture size less viewport size
    bool visible = false;
};

// The panning of `Picture2` inside `Picture1`. Coordinates are twips; the
// mouse positions are in the picture's own coordinates, which move with it,
// so the point grabbed at the press stays under the mouse pointer.
class PreviewForm {
  public:
    // Form_Resize: the viewport is the window's inner area. The picture goes
    // back to its top-left corner, offsets and all.
    void FormResize(int32_t viewportWidth, int32_t viewportHeight, int32_t pictureWidth,
                    int32_t pictureHeight);

    // Button 1 (left) starts a drag when the picture pans along either axis;
    // true when it did. Other buttons do nothing.
    bool Picture2_MouseDown(int button, int32_t x, int32_t y);
    // True when the picture moved.
    bool Picture2_MouseMove(int32_t x, int32_t y);
    void Picture2_MouseUp() { dragging_ = false; }

    // Unloading forgets the picture and the drag.
    void Reset() { *this = PreviewForm(); }

    bool Dragging() const { return dragging_; }
    const PanAxis& HScroll1() const { return hScroll1_; }
    const PanAxis& VScroll1() const { return vScroll1_; }
    // Picture2's position inside the viewport.
    int32_t PictureLeft() const { return -hScroll1_.value; }
    int32_t PictureTop() const { return -vScroll1_.value; }

  private:
    // Where the drag began along one axis; an axis the picture cannot pan
    // along takes no part in it.
    struct DragStart {
        bool pans = false;
        int32_t at = 0;
    };
    static bool Follow(PanAxis& axis, const DragStart& start, int32_t now);

    PanAxis hScroll1_, vScroll1_;
    bool dragging_ = false;
    DragStart dragStartX_, dragStartY_;
};

}  // namespace quillet
