#include "play/CBorder.h"

namespace {

constexpr int32_t kFieldSize = 416;
constexpr int32_t kThickness = 16;

} // namespace

bool CBorder::LoadPicture(CGraphics& graphics, const char* fileName) {
    return picture.Load(graphics, fileName);
}

void CBorder::SetShape(int horizontal) {
    width = horizontal ? kFieldSize : kThickness;
    height = horizontal ? kThickness : kFieldSize;
    picture.SetSize(width, height);
}

void CBorder::Place(int32_t newSide, int32_t x, int32_t y) {
    side = newSide;
    switch (side) {
    case Top:
        SetShape(1);
        picture.SetPosition(x, y - kThickness);
        break;
    case Right:
        SetShape(0);
        picture.SetPosition(x + kFieldSize, y);
        break;
    case Bottom:
        SetShape(1);
        picture.SetPosition(x, y + kFieldSize);
        break;
    default:
        SetShape(0);
        picture.SetPosition(x - kThickness, y);
        break;
    }
}

void CBorder::TurnClockwise(int32_t x, int32_t y) {
    Place(side == Left ? Top : side + 1, x, y);
}

void CBorder::TurnCounterClockwise(int32_t x, int32_t y) {
    Place(side == Top ? Left : side - 1, x, y);
}

bool CBorder::Draw(CGraphics& graphics) {
    // 26 tiles of 16 pixels along the strip, one across it.
    return picture.DrawTiled(graphics, width / kThickness, height / kThickness);
}
