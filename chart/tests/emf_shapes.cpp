#include "emf_shapes.h"

#include <map>

namespace {

constexpr DWORD kStockObjectBit = 0x80000000;

// A pen or brush of the metafile's object table.
struct GdiState {
    bool isPen = false;
    bool hollow = false;
    UINT style = 0;
    LONG width = 0;
    COLORREF color = 0;
};

GdiState StockObjectState(DWORD stock) {
    switch (stock) {
        case WHITE_BRUSH: return {false, false, 0, 0, RGB(255, 255, 255)};
        case LTGRAY_BRUSH: return {false, false, 0, 0, RGB(192, 192, 192)};
        case GRAY_BRUSH: return {false, false, 0, 0, RGB(128, 128, 128)};
        case DKGRAY_BRUSH: return {false, false, 0, 0, RGB(64, 64, 64)};
        case BLACK_BRUSH: return {false, false, 0, 0, RGB(0, 0, 0)};
        case NULL_BRUSH: return {false, true, 0, 0, 0};
        case WHITE_PEN: return {true, false, PS_SOLID, 0, RGB(255, 255, 255)};
        case BLACK_PEN: return {true, false, PS_SOLID, 0, RGB(0, 0, 0)};
        case NULL_PEN: return {true, false, PS_NULL, 0, 0};
        default: return {};
    }
}

struct Reader {
    std::vector<EmfShape> shapes;
    std::map<DWORD, GdiState> objects;
    GdiState pen = StockObjectState(BLACK_PEN);
    GdiState brush = StockObjectState(WHITE_BRUSH);
    POINT windowOrigin{0, 0};
    POINT current{0, 0};

    RECT OnPage(LONG left, LONG top, LONG right, LONG bottom) const {
        return {left - windowOrigin.x, top - windowOrigin.y, right - windowOrigin.x, bottom - windowOrigin.y};
    }

    void Read(const ENHMETARECORD* record) {
        switch (record->iType) {
            case EMR_CREATEPEN: {
                const auto* r = reinterpret_cast<const EMRCREATEPEN*>(record);
                objects[r->ihPen] = {true, false, r->lopn.lopnStyle, r->lopn.lopnWidth.x, r->lopn.lopnColor};
                break;
            }
            case EMR_EXTCREATEPEN: {
                const auto* r = reinterpret_cast<const EMREXTCREATEPEN*>(record);
                objects[r->ihPen] = {true, false, static_cast<UINT>(r->elp.elpPenStyle & PS_STYLE_MASK),
                                     static_cast<LONG>(r->elp.elpWidth), r->elp.elpColor};
                break;
            }
            case EMR_CREATEBRUSHINDIRECT: {
                const auto* r = reinterpret_cast<const EMRCREATEBRUSHINDIRECT*>(record);
                objects[r->ihBrush] = {false, r->lb.lbStyle == BS_NULL, 0, 0, r->lb.lbColor};
                break;
            }
            case EMR_SELECTOBJECT: {
                const DWORD index = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
                const GdiState state =
                    (index & kStockObjectBit) ? StockObjectState(index & ~kStockObjectBit) : objects[index];
                (state.isPen ? pen : brush) = state;
                break;
            }
            case EMR_SETWINDOWORGEX: {
                const auto* r = reinterpret_cast<const EMRSETWINDOWORGEX*>(record);
                windowOrigin = {r->ptlOrigin.x, r->ptlOrigin.y};
                break;
            }
            case EMR_RECTANGLE: {
                // The record's box includes its right and bottom edges; the
                // call that made it named the edges beyond.
                const RECTL& box = reinterpret_cast<const EMRRECTANGLE*>(record)->rclBox;
                EmfShape shape{EmfShape::Kind::Rectangle, OnPage(box.left, box.top, box.right + 1, box.bottom + 1)};
                shape.brush = brush.hollow ? 0 : brush.color;
                shape.hollow = brush.hollow;
                shape.penStyle = pen.style;
                shape.penWidth = pen.width;
                shape.pen = pen.color;
                shapes.push_back(shape);
                break;
            }
            case EMR_BITBLT: {
                // Without a source bitmap a block transfer paints the brush.
                const auto* r = reinterpret_cast<const EMRBITBLT*>(record);
                if (r->cbBmiSrc != 0 || r->dwRop != PATCOPY) break;
                EmfShape shape{EmfShape::Kind::Fill,
                               OnPage(r->xDest, r->yDest, r->xDest + r->cxDest, r->yDest + r->cyDest)};
                shape.brush = brush.color;
                shapes.push_back(shape);
                break;
            }
            case EMR_MOVETOEX: {
                const auto* r = reinterpret_cast<const EMRMOVETOEX*>(record);
                current = {r->ptl.x, r->ptl.y};
                break;
            }
            case EMR_LINETO: {
                const auto* r = reinterpret_cast<const EMRLINETO*>(record);
                EmfShape shape{EmfShape::Kind::Line, OnPage(current.x, current.y, r->ptl.x, r->ptl.y)};
                shape.penStyle = pen.style;
                shape.penWidth = pen.width;
                shape.pen = pen.color;
                shapes.push_back(shape);
                current = {r->ptl.x, r->ptl.y};
                break;
            }
            default:
                break;
        }
    }
};

int CALLBACK ReadRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM reader) {
    reinterpret_cast<Reader*>(reader)->Read(record);
    return 1;
}

}  // namespace

bool operator==(const EmfShape& a, const EmfShape& b) {
    return a.kind == b.kind && EqualRect(&a.at, &b.at) && a.brush == b.brush && a.hollow == b.hollow &&
           a.penStyle == b.penStyle && a.penWidth == b.penWidth && a.pen == b.pen;
}

std::ostream& operator<<(std::ostream& out, const EmfShape& shape) {
    static const char* const kinds[] = {"Fill", "Rectangle", "Line"};
    out << kinds[static_cast<int>(shape.kind)] << " (" << shape.at.left << "," << shape.at.top << ")-("
        << shape.at.right << "," << shape.at.bottom << ")";
    if (shape.kind != EmfShape::Kind::Line) {
        out << " brush ";
        if (shape.hollow) {
            out << "hollow";
        } else {
            out << std::hex << shape.brush << std::dec;
        }
    }
    if (shape.kind != EmfShape::Kind::Fill)
        out << " pen style " << shape.penStyle << " width " << shape.penWidth << " colour " << std::hex << shape.pen
            << std::dec;
    return out;
}

EmfShape Fill(RECT at, COLORREF brush) {
    EmfShape shape{EmfShape::Kind::Fill, at};
    shape.brush = brush;
    return shape;
}

EmfShape Frame(RECT at, UINT penStyle, LONG penWidth, COLORREF pen) {
    EmfShape shape{EmfShape::Kind::Rectangle, at};
    shape.hollow = true;
    shape.penStyle = penStyle;
    shape.penWidth = penWidth;
    shape.pen = pen;
    return shape;
}

std::vector<EmfShape> ReadEmfShapes(HENHMETAFILE metafile) {
    Reader reader;
    EnumEnhMetaFile(nullptr, metafile, &ReadRecord, &reader, nullptr);
    return reader.shapes;
}
