// The playfield on the screen: the resting blocks, the falling block and the next block in its
// frame.
#include "play/CLevel.h"

#include "gfx/CGraphics.h"

namespace {

constexpr int kCellPixels = 32;

} // namespace

void CLevel::DrawBlock(CGraphics& graphics, int type, int x, int y) {
    // A type without a picture (a grid value or falling type left from a level whose pictures
    // failed to load) is never looked up outside the picture array.
    if (type < 1 || type > blockTypeCount || !blockPictures)
        return;
    CSprite& picture = blockPictures[type - 1];
    picture.SetPosition(x, y);
    picture.Draw(graphics);
}

void CLevel::Draw(CGraphics& graphics, int originX, int originY, int screenHeight) {
    for (int x = 0; x < kSize; ++x)
        for (int y = 0; y < kSize; ++y)
            if (grid[Index(x, y)] > 0)
                DrawBlock(graphics, grid[Index(x, y)], originX + kCellPixels * x,
                          originY + kCellPixels * y);
    DrawBlock(graphics, fallingType, originX + kCellPixels * fallingColumn,
              originY + kCellPixels * fallingRow);
    nextFrame.SetPosition(originX + 432, screenHeight - originY - 48);
    nextFrame.Draw(graphics);
    DrawBlock(graphics, nextType, originX + 465, screenHeight - originY - 33);
}
