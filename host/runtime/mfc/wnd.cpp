#include "mfc/wnd.h"

CWnd::~CWnd() = default;
