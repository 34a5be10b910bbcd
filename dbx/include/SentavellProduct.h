#pragma once

// Who makes Sentavell, as drawings name it for users who open them without the modules.
#define SENTAVELL_COMPANY_NAME L"Tovrik Software Ltd"
#define SENTAVELL_WEB_ADDRESS L"https://www.tovrik.example"

// The product and its own web site, which the about box links to.
#define SENTAVELL_PRODUCT_NAME L"Sentavell"
#define SENTAVELL_PRODUCT_WEB_ADDRESS L"https://sentavell.example/"

// The application name of the classes that drawings store on their own.
#define SENTAVELL_PROXY_APP_NAME                                                                   \
    L"\"Sentavell|Product Desc: Sentavell|Company:     "                                           \
    L" " SENTAVELL_COMPANY_NAME L"|WEB Address:  " SENTAVELL_WEB_ADDRESS L"\""
