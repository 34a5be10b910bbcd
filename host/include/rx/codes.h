#pragma once

namespace AcRx {

// Messages the host sends to a module's acrxEntryPoint.
// Fixed width: a newer host may send codes this list does not know.
enum AppMsgCode : int {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
};

enum AppRetCode : int {
    kRetOK = 0,
    kRetError = 3,
};

enum DictIterType {
    kDictSorted = 0,   // ascending key order
    kDictCollated = 1, // insertion order
};

enum Ordering {
    kLessThan = -1,
    kEqual = 0,
    kGreaterThan = 1,
    kNotOrderable = 2,
};

} // namespace AcRx
