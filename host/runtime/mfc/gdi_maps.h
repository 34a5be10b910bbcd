#pragma once

#include "gdi/objects.h"
#include "mfc/handle_map.h"

// Temporary wrappers of painting objects, one map a wrapper class so that a handle is always
// wrapped in the class asked for.
template <typename Wrapper>
Wrapper* gdiWrapper(HGDIOBJ object) {
    static auto* const map = new HandleMap<HGDIOBJ, Wrapper>(
        [](HGDIOBJ handle) { return GetObjectType(handle) != 0; },
        [](Wrapper& wrapper, HGDIOBJ handle) { wrapper.m_hObject = handle; },
        [](Wrapper& wrapper) { wrapper.m_hObject = nullptr; });
    return map->fromHandle(object);
}
