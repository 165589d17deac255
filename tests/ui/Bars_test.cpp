// The bars' arithmetic: a toolbar row, the docked panels in the main window, the edges after
// the first show, and the status bar's parts and texts.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "core/Locale.h"
#include "ui/DockLayout.h"
#include "ui/StatusTexts.h"

namespace {

TEST(DockLayout, ToolbarRowAndColumn)
{
    // The toolbar: two buttons, a separator, one, a separator, three (30x30 each).
    std::vector<BarChild> children;
    for (int i : {0, 1, -1, 2, -1, 3, 4, 5})
        children.push_back(i < 0 ? BarChild{true, TSize()} : BarChild{false, TSize(30, 30)});
    BarLayout row = LayOutBar(kDockSideTop | kDockEdgeTop, kDockSideTop, children);
    EXPECT_EQ(row.children[0], TRect(1, 3, 31, 33));
    EXPECT_EQ(row.children[1], TRect(31, 3, 61, 33));
    EXPECT_EQ(row.children[2], TRect(61, 3, 70, 33));  // separator: 9 wide, as high as the row
    EXPECT_EQ(row.children[3], TRect(70, 3, 100, 33));
    EXPECT_EQ(row.children[7], TRect(169, 3, 199, 33));
    EXPECT_TRUE(row.separatorsVertical);
    EXPECT_EQ(row.thickness, 30);
    EXPECT_EQ(row.across, 30 + 3 + 0 + 2);

    // A control panel on the left: a column with the extra left margin, edges on all sides.
    std::vector<BarChild> column{{false, TSize(40, 50)}, {true, TSize()}, {false, TSize(60, 20)}};
    BarLayout left = LayOutBar(kDockEdges | kDockExtraLeftMargin, kDockSideLeft, column);
    EXPECT_EQ(left.children[0], TRect(11, 3, 51, 53));
    EXPECT_EQ(left.children[1], TRect(11, 53, 51, 62));  // horizontal, as wide as the column so far
    EXPECT_EQ(left.children[2], TRect(11, 62, 71, 82));
    EXPECT_FALSE(left.separatorsVertical);
    EXPECT_EQ(left.across, 60 + 2);

    EXPECT_EQ(LayOutBar(0, kDockSideTop, {}).across, kDockStartThickness + 2);
    EXPECT_EQ(DockEdgesForSide(kDockSideTop), static_cast<uint32_t>(kDockEdgeTop));
    EXPECT_EQ(DockEdgesForSide(kDockSideLeft), static_cast<uint32_t>(kDockEdgeTop | kDockEdgeBottom));
}

TEST(DockLayout, PanelsInTheMainWindow)
{
    // Toolbar, device list (top), two control panels (left), of which only the second shows.
    std::vector<DockedPanel> panels{{kDockSideTop, true, TSize(32, 35)},
                                    {kDockSideTop, true, TSize(32, 40)},
                                    {kDockSideLeft, false, TSize(80, 32)},
                                    {kDockSideLeft, true, TSize(90, 32)}};
    std::vector<TRect> placed;
    TRect rest = LayOutDockedPanels(TRect(0, 0, 600, 400), panels, placed);
    EXPECT_EQ(placed[0], TRect(0, 0, 600, 35));
    EXPECT_EQ(placed[1], TRect(0, 35, 600, 75));
    EXPECT_EQ(placed[2], TRect()) << "a hidden panel takes no space";
    EXPECT_EQ(placed[3], TRect(0, 75, 90, 400));
    EXPECT_EQ(rest, TRect(90, 75, 600, 400));

    // Hiding the toolbar moves the device list to the top.
    panels[0].visible = false;
    rest = LayOutDockedPanels(TRect(0, 0, 600, 400), panels, placed);
    EXPECT_EQ(placed[1], TRect(0, 0, 600, 40));
    EXPECT_EQ(rest, TRect(90, 40, 600, 400));

    // Bottom and right panels take their sides; top and bottom span the width.
    std::vector<DockedPanel> sides{{kDockSideRight, true, TSize(50, 1)}, {kDockSideBottom, true, TSize(1, 20)}};
    rest = LayOutDockedPanels(TRect(0, 0, 300, 200), sides, placed);
    EXPECT_EQ(placed[0], TRect(250, 0, 300, 180));
    EXPECT_EQ(placed[1], TRect(0, 180, 300, 200));
    EXPECT_EQ(rest, TRect(0, 0, 250, 180));

    panels[0].visible = true;
    panels[2].visible = true;
    std::vector<uint32_t> edges = EdgesAfterFirstShow(panels, {1, 1, 3, 3});
    EXPECT_EQ(edges, (std::vector<uint32_t>{kDockEdgeTop, kDockEdgeTop, kDockEdgeTop | kDockEdgeRight, kDockEdgeTop}));
    panels[3].visible = false;
    edges = EdgesAfterFirstShow(panels, {1, 1, 3, 3});
    EXPECT_EQ(edges[2], static_cast<uint32_t>(kDockEdgeTop)) << "the panel after it is hidden";
    EXPECT_EQ(edges[3], 3u) << "a hidden panel keeps its edges";
}

std::string Message(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    GString out;
    FormatStatusMessage(out, format, args);
    va_end(args);
    return out.CStr();
}

TEST(StatusTexts, PartsMessageSizeAndMemory)
{
    EXPECT_EQ(InitialStatusEdges().right[1], 400);
    StatusPartEdges edges = StatusEdgesForWidth(900);
    EXPECT_EQ(edges.right[0], 300);
    EXPECT_EQ(edges.right[1], 450);
    EXPECT_EQ(edges.right[2], -1);
    edges = StatusEdgesForWidth(100);
    EXPECT_EQ(edges.right[0], 33);
    EXPECT_EQ(edges.right[1], 49);

    EXPECT_EQ(Message("Выделено объектов: %d", 12), "Выделено объектов: 12");
    EXPECT_EQ(Message("%s", std::string(100, 'x').c_str()), std::string(63, 'x')) << "cut to the buffer";

    GString size;
    FormatStatusSize(size, 1536, false);
    EXPECT_STREQ(size.CStr(), "1.5 КБ");
    FormatStatusSize(size, 1536, true);
    EXPECT_STREQ(size.CStr(), "");

    SetThousandsSeparator('\xA0');
    GString shortText, longText;
    FormatStatusMemory(shortText, longText, 1536, 1048576, false);
    EXPECT_STREQ(shortText.CStr(), "1.5 КБ / 1.0 МБ");
    EXPECT_STREQ(longText.CStr(), "Свободно / Всего\n1\xA0" "536 байт / 1\xA0" "048\xA0" "576 байт");
    SetThousandsSeparator(' ');
    FormatStatusMemory(shortText, longText, 0, 0, false);
    EXPECT_TRUE(shortText.IsEmpty() && longText.IsEmpty());
    FormatStatusMemory(shortText, longText, 5, 10, true);
    EXPECT_TRUE(shortText.IsEmpty() && longText.IsEmpty());
}

}  // namespace
