#include "app/LineBatch.h"

#include "common/DrawRoutines.h"

void CLineBatch::Add(COLORREF colour, int x1, int y1, int x2, int y2)
{
    SGroup* group = nullptr;
    for (SGroup& g : m_groups)
        if (g.colour == colour)
            group = &g;
    if (!group) {
        m_groups.push_back({colour, {}});
        group = &m_groups.back();
    }
    group->points.push_back({x1, y1});
    group->points.push_back({x2, y2});
}

void CLineBatch::Flush(HDC dc)
{
    for (const SGroup& g : m_groups) {
        const size_t lines = g.points.size() / 2;
        if (!lines)
            continue;
        std::vector<DWORD> counts(lines, 2);
        CPenSelector pen(dc, PS_SOLID, 1, g.colour);
        ::PolyPolyline(dc, g.points.data(), counts.data(), static_cast<DWORD>(lines));
    }
    m_groups.clear();
}
