#pragma once

// Window layouts are given in twips; at 96 dpi a logical pixel is 15 twips, and Qt
// scales logical pixels for denser screens.
constexpr int TwipsPerPixel = 15;

constexpr int twips(int value)
{
    return (value + TwipsPerPixel / 2) / TwipsPerPixel;
}
