#pragma once

// Everything the common controls offer.
#include "comctl/imagelist.h"
#include "comctl/init.h"
#include "comctl/listview.h"
#include "comctl/notify.h"
#include "comctl/tooltip.h"
#include "comctl/treeview.h"
