// Ids of the menu button's test resources.
#pragma once

#define IDD_MENU_BUTTON 100
#define IDC_MENU_BUTTON 101
#define IDC_OTHER_BUTTON 102
#define IDM_MENU_BUTTON 200
#define ID_FIRST_CHOICE 201
#define ID_SECOND_CHOICE 202
