#pragma once

// Each area of the runtime registers its own classes when the system registry is first built:
// a static SvBuiltinClasses object in the area names the function that does it.
using SvBuiltinClassInit = void (*)();

struct SvBuiltinClasses {
    explicit SvBuiltinClasses(SvBuiltinClassInit init);
};
