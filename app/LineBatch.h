#pragma once
// One-pixel solid lines gathered by colour and drawn with one PolyPolyline
// per colour. Each line is drawn exactly as MoveTo/LineTo draws it (the end
// point left out), so a batch paints the same pixels as the lines one by
// one as long as lines of different colours in it do not cross. Lines that
// must cover others go into a later batch (one batch per layer).
#include <windows.h>
#include <vector>

class CLineBatch
{
public:
    void Add(COLORREF colour, int x1, int y1, int x2, int y2);
    // Draws every line and empties the batch.
    void Flush(HDC dc);
    [[nodiscard]] bool IsEmpty() const { return m_groups.empty(); }

private:
    struct SGroup
    {
        COLORREF colour;
        std::vector<POINT> points;
    };
    std::vector<SGroup> m_groups;
};
