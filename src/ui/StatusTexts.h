// The status bar's parts and texts, without the control: where the parts end for a width,
// the message cut to its buffer, the size text and the memory texts with their tooltip.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "core/GString.h"

// Longest message part 0 keeps, in bytes; longer output is cut.
constexpr uint32_t kStatusMessageMax = 63;

struct StatusPartEdges {
    int32_t right[3];  // -1: up to the window's edge
};

// A new status bar: 300, 400 and the edge.
StatusPartEdges InitialStatusEdges();
// Part 0 ends at a third of the width, part 1 half a third further, part 2 at the edge.
StatusPartEdges StatusEdgesForWidth(int32_t width);

void FormatStatusMessage(GString& out, const char* format, va_list args);
// FormatByteSize of the count, or empty when hidden.
void FormatStatusSize(GString& out, uint64_t bytes, bool hide);
// Part 2 ("<free> / <total>" in byte sizes) and its tooltip ("Свободно / Всего\n" and both
// grouped byte counts); both empty when hidden or when both values are 0.
void FormatStatusMemory(GString& shortText, GString& longText, uint32_t freeBytes, uint32_t totalBytes,
                        bool hide);
