#pragma once
// Resource ids of the window-layer tests (62000-62099, clear of the program's).
#define IDD_TEST_MODELESS 62000
#define IDD_TEST_MODAL 62001
#define IDC_TEST_EDIT 62010
#define IDC_TEST_CHECK 62011
#define IDC_TEST_COMBO 62012
#define IDC_TEST_LIST 62013
#define IDC_TEST_BUTTON 62014
#define IDR_TEST_MENU 62020
#define ID_TEST_FIRST 62021
#define ID_TEST_SECOND 62022
#define IDS_TEST_PROMPT 62030
