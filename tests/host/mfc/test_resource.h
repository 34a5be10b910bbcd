// Ids of the class library's test dialogs.
#define IDD_CONTROLS 100
#define IDD_CHILD 101
#define IDD_BROKEN 102
#define IDD_PLACED 103
#define IDC_ARROW_BUTTON 1001
#define IDC_LINK_STATIC 1002
#define IDC_OPEN_CHILD 1003
#define IDC_ROWS 1004
#define IDC_TEXT 1005
#define IDC_SELF_BUTTON 1006
#define IDC_PICTURE_BUTTON 1007
#define IDC_MISSING 1999
#define IDB_PICTURE 1007
#define IDR_POPUP                       104
#define ID_FIRST                        32771
#define ID_SECOND                       32772
