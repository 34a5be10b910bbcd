#pragma once

#include <cstdint>

#pragma GCC visibility push(default)

// Results of the editor's input functions.
#define RTNONE 5000 // empty answer
#define RTREAL 5001
#define RTPOINT 5002
#define RTSHORT 5003
#define RTANG 5004
#define RTSTR 5005
#define RTENAME 5006
#define RTPICKS 5007
#define RTLONG 5010
#define RTNORM 5100 // success
#define RTERROR (-5001)
#define RTCAN (-5002) // the user cancelled
#define RTREJ (-5003)
#define RTFAIL (-5004)
#define RTKWORD (-5005) // a keyword was answered; acedGetInput gives it

// What an external LISP function answers the host.
#define RSRSLT 5100
#define RSERR 3

// acedInitGet flags.
#define RSG_NONULL 0x0001
#define RSG_NOZERO 0x0002
#define RSG_NONEG 0x0004
#define RSG_OTHER 0x0080

// The host's input limit, terminator included.
#define SV_MAX_INPUT 132

using ads_real = double;
using ads_point = ads_real[3];
using ads_name = std::int64_t[2];

union ads_u_val {
    ads_real rreal;
    ads_real rpoint[3];
    short rint;
    wchar_t* rstring;
    std::int32_t rlong;
    std::int64_t rlname[2];
};

// A value of a system variable or a LISP argument; chains through rbnext.
struct resbuf {
    resbuf* rbnext;
    short restype;
    ads_u_val resval;
};

#pragma GCC visibility pop
