// The shapes an enhanced metafile draws, read back from its records, so
// that tests compare exact geometry and colours instead of pixels.
#pragma once
#include <windows.h>

#include <ostream>
#include <vector>

struct EmfShape {
    enum class Kind { Fill, Rectangle, Line };
    Kind kind;
    // Page logical units (the window origin undone); a line runs from
    // (left, top) to (right, bottom).
    RECT at;
    // Fills and rectangles: the brush; hollow means none.
    COLORREF brush = 0;
    bool hollow = false;
    // Rectangles and lines: the pen.
    UINT penStyle = 0;
    LONG penWidth = 0;
    COLORREF pen = 0;
};

bool operator==(const EmfShape& a, const EmfShape& b);
std::ostream& operator<<(std::ostream& out, const EmfShape& shape);

EmfShape Fill(RECT at, COLORREF brush);
EmfShape Frame(RECT at, UINT penStyle, LONG penWidth, COLORREF pen);  // a rectangle with a hollow brush

std::vector<EmfShape> ReadEmfShapes(HENHMETAFILE metafile);
