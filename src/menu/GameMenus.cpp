// The menu pages: loading and laying out the twelve menu items, the option pages, and the mouse
// on every page (highlights, clicks, the OK button and the row picks of the text screens).
#include "app/CGame.h"
#include "app/ScreenColours.h"
#include "gfx/CGraphics.h"

#include <cstdio>

namespace {

struct MenuItemFiles {
    const char* normal;
    const char* highlighted;
    // The state a click enters, or on the difficulty page the difficulty percentage.
    int32_t value;
};

const MenuItemFiles kMenuFiles[CGame::kMenuItems] = {
    {"menu/menu_start.bmp", "menu/menu_start2.bmp", GetReady},
    {"menu/menu_options.bmp", "menu/menu_options2.bmp", Options},
    {"menu/menu_custom.bmp", "menu/menu_custom2.bmp", CustomLevel},
    {"menu/menu_quit.bmp", "menu/menu_quit2.bmp", QuitConfirm},
    {"menu/menu_controls.bmp", "menu/menu_controls2.bmp", Controls},
    {"menu/menu_difficulty.bmp", "menu/menu_difficulty2.bmp", Difficulty},
    {"menu/menu_graphics.bmp", "menu/menu_graphics2.bmp", Graphics},
    {"menu/menu_easy.bmp", "menu/menu_easy2.bmp", 125},
    {"menu/menu_medium.bmp", "menu/menu_medium2.bmp", 100},
    {"menu/menu_hard.bmp", "menu/menu_hard2.bmp", 75},
    {"menu/menu_resolution.bmp", "menu/menu_resolution2.bmp", Resolution},
    // The OK button leads back to where its page came from.
    {"menu/menu_ok.bmp", "menu/menu_ok2.bmp", 0},
};

// The items of a page: `count` of them from `first`.
struct Page {
    int first;
    int count;
    // Where the OK button leads; 0 where it is not active.
    GameState back;
};

Page PageOf(GameState state) {
    switch (state) {
    case MainMenu:
        return {0, 4, 0};
    case Options:
        return {4, 3, MainMenu};
    case Difficulty:
        return {7, 3, 0};
    case Graphics:
        return {10, 1, Options};
    case Controls:
        return {0, 0, Options};
    case Resolution:
        return {0, 0, Graphics};
    default:
        return {0, 0, 0};
    }
}

} // namespace

CGame::Title CGame::title = {nullptr, 0, 0, 0, 0};

bool CGame::LoadMenus() {
    for (int i = 0; i < kMenuItems; ++i) {
        CMenuItem& item = menuItems[i];
        snprintf(item.normalFile, sizeof(item.normalFile), "%s", kMenuFiles[i].normal);
        snprintf(item.highlightedFile, sizeof(item.highlightedFile), "%s",
                 kMenuFiles[i].highlighted);
        if (i != kOkButton)
            item.value = kMenuFiles[i].value;
    }
    for (CMenuItem& item : menuItems) {
        const char* files[2] = {item.normalFile, item.highlightedFile};
        for (int picture = 0; picture < 2; ++picture) {
            if (!item.sprites[picture].Load(*g_graphics, files[picture])) {
                Log("ERROR --- Could not load menu bitmap: %s", files[picture]);
                return false;
            }
            Log("NOTICE --- Menu bitmap %s loaded", files[picture]);
            item.sprites[picture].SetColorKey(*g_graphics, kPictureKey);
        }
        item.highlighted = 0;
    }
    LayoutMenus();
    return true;
}

// Every page's items stand in one column left of the middle, 44 pixels apart; the OK button
// sits in the bottom right corner.
void CGame::LayoutMenus() {
    const int32_t columnX = width / 2 - 112;
    const int32_t topY = height / 2 - 80;
    for (int i = 0; i <= 10; ++i)
        menuItems[i].x = columnX;
    for (int k = 0; k < 4; ++k)
        menuItems[k].y = topY + 44 * k;
    for (int k = 0; k < 3; ++k) {
        menuItems[4 + k].y = topY + 44 * k;
        menuItems[7 + k].y = topY + 44 * k;
    }
    menuItems[10].y = height / 2 - 36;
    menuItems[kOkButton].x = width - 68;
    menuItems[kOkButton].y = height - 44;
    for (CMenuItem& item : menuItems) {
        item.width = item.sprites[0].Width();
        item.height = item.sprites[0].Height();
    }
}

void CGame::DrawMenuItem(CMenuItem& item) {
    CSprite& sprite = item.sprites[item.highlighted];
    sprite.SetPosition(item.x, item.y);
    sprite.Draw(*g_graphics);
}

void CGame::DrawOkButton() {
    DrawMenuItem(menuItems[kOkButton]);
}

// Options, Difficulty and Graphics. Entering a page loads nothing and resets no highlight.
void CGame::DrawOptionPage() {
    entered = true;
    g_graphics->Fill(screen::kBackground);
    const Page page = PageOf(state);
    for (int i = page.first; i < page.first + page.count; ++i)
        DrawMenuItem(menuItems[i]);
    if (page.back != 0)
        DrawOkButton();
}

// Only the current page's items follow the pointer; the others keep their highlight. The OK
// button follows it everywhere, shown or not.
void CGame::OnMouseMove(int32_t x, int32_t y) {
    mouseX = x;
    mouseY = y;
    const Page page = PageOf(state);
    for (int i = page.first; i < page.first + page.count; ++i)
        menuItems[i].highlighted = menuItems[i].Holds(x, y) ? 1 : 0;
    menuItems[kOkButton].highlighted = menuItems[kOkButton].Holds(x, y) ? 1 : 0;
}

void CGame::OnLeftClick(int32_t x, int32_t y) {
    const Page page = PageOf(state);
    for (int i = page.first; i < page.first + page.count; ++i) {
        if (!menuItems[i].Holds(x, y))
            continue;
        if (state == Difficulty) {
            difficulty = menuItems[i].value;
            SetState(Options);
        } else {
            SetState(menuItems[i].value);
        }
        return;
    }
    if (page.back != 0 && menuItems[kOkButton].Holds(x, y)) {
        SetState(page.back);
        return;
    }
    if (state == Controls)
        PickKeyRow(y);
    else if (state == Resolution)
        PickMode(x, y);
}
