#pragma once

// Modules build with hidden visibility; whatever crosses a module boundary says so explicitly.
#define DLLEXPORT __attribute__((visibility("default")))
#define DLLIMPORT __attribute__((visibility("default")))
