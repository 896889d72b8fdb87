#pragma once
#define IDD_XF_TEST_PANE 100
#define IDD_XF_TEST_DIALOG_HOST 101
