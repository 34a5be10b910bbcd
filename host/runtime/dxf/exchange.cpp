#include "exchange.h"

#include "db/drawing_records.h"

namespace {

const SvDbExchange kDxf = {L".dxf", &svDxfRead, &svDxfWrite};

// The database reads and saves names ending .dxf through this area from the runtime's start.
[[maybe_unused]] const bool kRegistered = (svDbRegisterExchange(&kDxf), true);

} // namespace
