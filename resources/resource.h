// Ids of the resource module SentavellUi17Res, shared by its script and the application module.
#pragma once

// Link creation
#define IDS_NO_STYLES_TEXT 1
#define IDS_NO_STYLES_CAPTION 2
#define IDS_CURRENT_STYLE 3
#define IDS_SOURCE_KEYWORDS 4
#define IDS_SOURCE_PROMPT 5
#define IDS_PRODUCT_NAME 6
#define IDS_LABEL_PROMPT 7
#define IDS_WRONG_LABEL_KIND 8
#define IDS_SOURCE_NOT_WRITABLE 9
#define IDS_XDICT_NOT_WRITABLE 10

// Link removal
#define IDS_NOTHING_SELECTED 11
#define IDS_NO_XDICT 12
#define IDS_NO_LINKS 13
#define IDS_LINKS_FOUND 14
#define IDS_LINKS_REMOVED 15

// Attribute lookup and block modifier options
#define IDS_PICK_ATTRIBUTE_TEXT 18
#define IDS_PICK_ATTRIBUTE_CAPTION 19
#define IDS_TAG_MISSING_TEXT 20
#define IDS_TAG_MISSING_CAPTION 21

// Style editor
#define IDS_NAME_MISSING_TEXT 22
#define IDS_NAME_MISSING_CAPTION 23
#define IDS_OPTIONS_INCOMPLETE_TEXT 24
#define IDS_OPTIONS_INCOMPLETE_CAPTION 25

// Style manager
#define IDS_NO_STYLE_ID_TEXT 26
#define IDS_NO_STYLE_ID_CAPTION 27
#define IDS_COLUMN_NAME 28
#define IDS_COLUMN_DESCRIPTION 29
#define IDS_SELECT_ROW_TEXT 30
#define IDS_SELECT_ROW_CAPTION 31
#define IDS_ROW_WITHOUT_STYLE_TEXT 32
#define IDS_ROW_WITHOUT_STYLE_CAPTION 33
#define IDS_DELETE_STYLE_TEXT 34
#define IDS_DELETE_STYLE_CAPTION 35

// Link creation in layouts and viewports
#define IDS_LABEL_IS_SOURCE 40
#define IDS_SOURCE_PROMPT_LAYOUT 41
#define IDS_HELP_TITLE 42
#define IDS_VIEWPORT_PROMPT 43
#define IDS_LABEL_KEYWORDS 44
#define IDS_LABEL_PROMPT_LAYOUT 45
#define IDS_CANNOT_OPEN_PICKED 46
#define IDS_NOT_A_VIEWPORT 47
#define IDS_OPEN_FOR_READ 48
#define IDS_OPEN_FOR_WRITE 49

// Macro check
#define IDS_MACRO_NO_RESULT 50

// Commands whose dialogs are not in this build
#define IDS_NOT_AVAILABLE 51

// About box
#define IDC_ABOUT_VERSION 2003
#define IDD_ABOUT 2010
#define IDC_ABOUT_TITLE 2013
#define IDC_ABOUT_LINK 2014

// Block modifier options and attribute lookup dialogs
#define IDD_BLOCK_MOD_OPTIONS 2003
#define IDD_ATTRIBUTE_LOOKUP 2007
#define IDB_ATTRIBUTE_TREE 2008
#define IDC_ATTRIBUTE_LOOKUP 2009
#define IDC_ATTRIBUTE_TAG 2011
#define IDC_ATTRIBUTE_TREE 2012

// Help topics of sentavell.chm
#define IDH_OVERVIEW 1000
#define IDH_ATTRIBUTE_LOOKUP 1001
#define IDH_BLOCK_OPTIONS 1002
#define IDH_STYLE_EDITOR 1003
#define IDH_STYLE_MANAGER 1004
