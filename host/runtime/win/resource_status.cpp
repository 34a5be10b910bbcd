#include "win/resource_status.h"

const wchar_t* svResStatusText(SvResStatus status) {
    switch (status) {
    case SvResStatus::Ok:
        return L"no fault";
    case SvResStatus::NotFound:
        return L"no such resource";
    case SvResStatus::Truncated:
        return L"the data ends too early";
    case SvResStatus::Misaligned:
        return L"the data is not aligned as its format needs";
    case SvResStatus::BadHeader:
        return L"the header is not one of this kind of data";
    case SvResStatus::UnterminatedString:
        return L"a text has no terminator";
    case SvResStatus::TooManyItems:
        return L"a count is larger than the data can hold";
    case SvResStatus::TooDeep:
        return L"menus are nested too deeply";
    case SvResStatus::BadValue:
        return L"a field holds a value out of its range";
    case SvResStatus::Unsupported:
        return L"the data is in a form that is not supported";
    case SvResStatus::Oversized:
        return L"the image is too large";
    }
    return L"unknown fault";
}
