// The separator between groups of buttons in a bar: a child window of class qv_Separator,
// drawn as the toolbar theme's separator or, in the classic look, an etched line through its
// middle. Its bar lays it out and sets its direction.
#pragma once

#include "toolkit/win/TWindow.h"

class SeparatorControl : public TWindow {
public:
    static constexpr const char* kClassName = "qv_Separator";
    static constexpr int kWidth = 7;

    SeparatorControl() { kind = kSeparator; }
    ~SeparatorControl() override;

    bool Create(TWindow* parent);
    // Vertical: a line from top to bottom (in a horizontal bar).
    void SetVertical(bool on);
    bool IsVertical() const { return vertical; }

    LRESULT OnPaint() override;
    LRESULT OnEraseBackground(HDC dc) override;

private:
    bool vertical = true;
};
