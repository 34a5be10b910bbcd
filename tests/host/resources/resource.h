//{{NO_DEPENDENCIES}}
// Ids of the test scripts, in the shape the original platform's editor writes them.
#define IDS_GREETING                    1
#define IDS_ESCAPES                     2
#define IDS_LONG                        3
#define IDS_KEYWORDS                    4
#define IDS_UNICODE                     5
#define IDS_ONLY_IN_OTHER               40
#define IDS_IN_BOTH                     41
#define IDS_FAR                         65535
#define IDD_SAMPLE                      2001
#define IDC_NAME                        2003
#define IDC_LIST                        2004
#define IDC_COMBO                       2005
#define IDC_CHECK                       2006
#define IDC_PICTURE                     2007
#define IDB_IMAGES                      2008
#define IDR_MENU                        2012
#define IDD_CLASSIC                     2013
#define IDD_LISTS                       2014
#define IDC_LISTVIEW                    2015
#define IDC_TREE                        2016
#define IDC_LINK                        2017
#define IDC_POINTER                     2018
#define ID_MACRO_AREA                   32771
#define ID_MACRO_LENGTH                 32772
#define ID_MACRO_CHECK                  32774

#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_NEXT_RESOURCE_VALUE        2020
#define _APS_NEXT_COMMAND_VALUE         32775
#endif
#endif
