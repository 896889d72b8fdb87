// The tempo dialog, run modally with keys posted to it as it opens.
#include <gtest/gtest.h>

#include <vector>

#include "app/FragmentTempoDlg.h"

namespace {

class CKeyedTempoDlg : public CFragmentTempoDlg
{
public:
    CKeyedTempoDlg(float tempo, std::vector<UINT> keys) : CFragmentTempoDlg(nullptr, tempo), m_keys(std::move(keys)) {}
    BOOL OnInitDialog() override
    {
        const BOOL result = CFragmentTempoDlg::OnInitDialog();
        for (UINT key : m_keys) {
            const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
            ::PostMessageW(GetSafeHwnd(), WM_KEYDOWN, key, scan | 1);
        }
        return result;
    }

private:
    std::vector<UINT> m_keys;
};

TEST(TempoDialog, AKeyPicksItsTempoAfterTheBlinkOthersKeepTheTempo)
{
    const float tenth = 0.1f;
    const struct
    {
        std::vector<UINT> keys;
        INT_PTR result;
        float tempo;
    } cases[] = {
        {{'A'}, IDOK, static_cast<float>(11 * static_cast<double>(tenth))},
        {{'0'}, IDOK, 1.0f},
        {{'3', 'J'}, IDOK, 2.0f}, // a second key moves the blinking row
        {{VK_ESCAPE}, IDCANCEL, 0.8f},
        {{VK_RETURN}, IDOK, 0.8f},
    };
    for (const auto& c : cases) {
        CKeyedTempoDlg dialog(0.8f, c.keys);
        const DWORD started = GetTickCount();
        EXPECT_EQ(c.result, dialog.DoModal()) << c.keys[0];
        EXPECT_EQ(c.tempo, dialog.GetTempo()) << c.keys[0];
        if (c.result == IDOK && c.tempo != 0.8f) {
            EXPECT_GE(GetTickCount() - started, 300u) << "closed before the row blinked";
        }
    }
}

} // namespace
