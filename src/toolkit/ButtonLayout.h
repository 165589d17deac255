// Where an owner-drawn button puts its image and text, and how big it is when sized to them.
#pragma once

#include "toolkit/Geometry.h"

enum class ImagePlacement { Left, Above };

struct ButtonContent {
    TSize text;   // extent of the text in the button's font; 0 x 0 without text
    TSize image;  // size of one image; 0 x 0 without image
    ImagePlacement placement = ImagePlacement::Left;

    bool HasText() const { return text.cx > 0; }
    bool HasImage() const { return image.cx > 0 && image.cy > 0; }
};

// The size that shows the whole content, capped: a width over 1000 becomes 500 and a height
// over 800 becomes 300, so that one absurd text cannot take the whole bar.
TSize ButtonSizeToContent(const ButtonContent& content);

struct ButtonLayout {
    TRect image;  // empty without image
    TRect text;   // empty without text
};

// Lays the content out in the client rectangle; a pressed or checked button moves its content
// one pixel right and down.
ButtonLayout LayOutButton(const ButtonContent& content, const TRect& client, bool pressed);
