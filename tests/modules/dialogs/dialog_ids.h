// Ids of the dialog test module's resources.
#define IDD_EVERY_CONTROL 100
#define IDD_INNER 101
#define IDR_ROW_MENU 200
#define ID_ROW_OPEN 201
#define ID_ROW_GREYED 202
#define IDC_PRESS 1001
#define IDC_DRAWN 1002
#define IDC_NAME 1003
#define IDC_LINK 1004
#define IDC_CHOICE 1005
#define IDC_ROWS 1006
#define IDC_TREE 1007
#define IDC_INNER 1008
#define IDC_ASK 1010
